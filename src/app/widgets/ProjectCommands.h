#pragma once

#include "data/ProjectFile.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tracella {

// The document as a project keeps it: picture, settings, calibration,
// curves and view. A picture that came from no file as it is (pasted,
// captured, turned, a PDF page) is written as PNG once and kept so.
Project CurrentProject();

// Opens a project file in place of the document; on any failure a message
// names the file and the document stays as it was. False when not opened.
bool OpenProjectFile(const QString& path);
// The same from a project already read, such as a recovery copy; the title
// names where it came from in messages.
bool OpenProject(Project project, const QString& title);

// A picture as a project keeps one that came from no file as it is.
QByteArray PngBytes(const QImage& image);

// True for a name a project file has (".tracella").
bool IsProjectFileName(const QString& path);

// File > Open Project, Save Project, Save Project As, and Picture > Import
// Keeping Scale.
void RegisterProjectCommands();

} // namespace tracella
