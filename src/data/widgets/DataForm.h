#pragma once

namespace tracella {

class DataWindow;

// frmData as every part reaches it: a window the user has closed is made
// afresh, loaded and shown on its next use, with the header row alone.
DataWindow& DataForm();

} // namespace tracella
