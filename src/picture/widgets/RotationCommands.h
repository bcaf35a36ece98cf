#pragma once

namespace tracella {

// The image toolbar's "Rotate", "Undo Rotate" and "Save Picture", registered
// under the names below.
void RegisterRotationCommands();

// Turns the document picture by an angle the user types; the picture as it
// was goes to the temporary picture file first.
void RotateDocumentPicture();
// Brings back the picture from before the last rotation; silent without one.
void UndoRotate();
// Writes the document picture, in its own format, to a file the user names.
void SaveDocumentPicture();

} // namespace tracella
