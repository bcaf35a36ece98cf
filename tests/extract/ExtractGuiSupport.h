#pragma once

#include "app/core/AppState.h"
#include "app/core/NumberReading.h"
#include "app/widgets/AppContext.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/TestApp.h"

#include <QImage>
#include <QPoint>

#include <vector>

namespace tracella::test {

inline QRgb PixelOf(Colour c)
{
    return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

inline QImage WhitePicture(int width, int height)
{
    return PlainPicture(QSize(width, height));
}

inline PictureSurface& Surface()
{
    return TestApp::surface();
}

// Pastes the picture as the document, uncalibrated, with one-pixel markers
// so that every marker covers exactly its own pixel.
inline PictureSurface& ShowPicture(TestApp& t, const QImage& picture)
{
    t.paste(picture).setPenWidth(1);
    return Surface();
}

// Lays a frame over the picture as the calibration would.
inline void SetFrame(const Frame& frame)
{
    appState().setFrame(frame);
    Surface().setFrame(frame);
}

inline const GridRows& Grid()
{
    return app().data->grid().rows();
}

inline double CellValue(int row, int column)
{
    return LeadingNumber(Grid().cell(row, column));
}

// The pixels where the picture on the surface differs from the picture
// itself: the markers.
inline std::vector<QPoint> MarkedPixels()
{
    const QImage composed = Surface().composedImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = Surface().picture().image.convertToFormat(QImage::Format_RGB32);
    std::vector<QPoint> marked;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (composed.pixel(x, y) != picture.pixel(x, y))
                marked.emplace_back(x, y);
    return marked;
}

} // namespace tracella::test
