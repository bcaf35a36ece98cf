#pragma once

namespace tracella {

// mnuPictureCapture (toolbar "Capture").
void RegisterCaptureCommands();

// Shows the capture window modally; once it hides for the delay (or
// closes), the document window comes to the top.
void CaptureCommand();

} // namespace tracella
