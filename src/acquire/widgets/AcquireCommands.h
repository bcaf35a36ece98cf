#pragma once

namespace tracella {

// The scanner command of the Picture menu and the toolbar.
void RegisterAcquireCommands();

// mnuPictureScanner: a page from the scanner becomes the document picture
// through the paste command.
void ScannerCommand();

} // namespace tracella
