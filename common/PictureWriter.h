#pragma once

#include <QImage>
#include <QPageLayout>
#include <QSize>
#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPainter;
class QWidget;

// Writes what a view draws as a picture: a PNG at a size in pixels, an SVG of that size, or a
// PDF page with the picture fitted into it, and prints it. A view hands over a painter, a
// function that draws the same as its paint event does into any size; every file is written
// through a QSaveFile, so a failed write leaves an older picture as it was.
class PictureWriter {
public:
    using Painter = std::function<void(QPainter&, const QSize&)>;
    enum class Format { Unknown, Png, Svg, Pdf };

    // A view that has no drawing of its own at other sizes: the widget as shown, scaled evenly
    // to the size asked and centred (vector paths stay paths in SVG and PDF).
    static Painter OfWidget(QWidget* widget);
    // From the file name's extension, case-insensitive.
    static Format FormatOf(const QString& path);
    // The picture on a white ground.
    static QImage Image(const Painter& painter, const QSize& size);
    // An error message naming the file, or empty. A PDF's page is `page`, the picture of
    // `size` scaled to fill its printable area keeping its proportions.
    static QString Write(const QString& path, const Painter& painter, const QSize& size,
                         const QPageLayout& page = DefaultPage());
    // Onto a printer's (or any paged device's) current page, fitted as on a PDF page.
    static bool Print(QPagedPaintDevice& device, const Painter& painter, const QSize& size);
    // A4 in landscape with 10 mm margins.
    static QPageLayout DefaultPage();
};
