#pragma once

namespace tracella {

class PictureSurface;

// The mouse interface of the picture: reference points in scale mode,
// data points otherwise, read-outs while the mouse moves.
void ConnectPointPicking(PictureSurface& surface);

} // namespace tracella
