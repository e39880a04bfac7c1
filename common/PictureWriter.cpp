#include "PictureWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>
#include <algorithm>

namespace {

QString Failed(const QString& path, const QString& why) {
    return QStringLiteral("The picture could not be saved as %1: %2")
        .arg(QDir::toNativeSeparators(path), why);
}

// The picture of `size` scaled into the device's page, centred, keeping its proportions.
bool PaintOnPage(QPainter& painter, QPagedPaintDevice& device, const PictureWriter::Painter& draw,
                 const QSize& size) {
    if (!painter.isActive() || size.isEmpty())
        return false;
    const double scale =
        std::min(double(device.width()) / size.width(), double(device.height()) / size.height());
    painter.translate((device.width() - scale * size.width()) / 2,
                      (device.height() - scale * size.height()) / 2);
    painter.scale(scale, scale);
    painter.setClipRect(QRect(QPoint(0, 0), size));
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    draw(painter, size);
    return painter.end();
}

} // namespace

PictureWriter::Painter PictureWriter::OfWidget(QWidget* widget) {
    return [widget](QPainter& painter, const QSize& size) {
        const QSize shown = widget->size();
        if (shown.isEmpty())
            return;
        const double scale =
            std::min(double(size.width()) / shown.width(), double(size.height()) / shown.height());
        painter.save();
        painter.translate((size.width() - scale * shown.width()) / 2,
                          (size.height() - scale * shown.height()) / 2);
        painter.scale(scale, scale);
        widget->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        painter.restore();
    };
}

PictureWriter::Format PictureWriter::FormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"png"   ? Format::Png
           : suffix == u"svg" ? Format::Svg
           : suffix == u"pdf" ? Format::Pdf
                              : Format::Unknown;
}

QPageLayout PictureWriter::DefaultPage() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

QImage PictureWriter::Image(const Painter& draw, const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(painter, size);
    painter.end();
    return image;
}

QString PictureWriter::Write(const QString& path, const Painter& draw, const QSize& size,
                             const QPageLayout& page) {
    const Format format = FormatOf(path);
    if (format == Format::Unknown)
        return Failed(path, QStringLiteral("its name ends in none of .png, .svg and .pdf"));
    if (size.isEmpty() || size.width() > 20000 || size.height() > 20000)
        return Failed(path, QStringLiteral("%1 x %2 pixels is not a size from 1 to 20000")
                                .arg(size.width())
                                .arg(size.height()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failed(path, file.errorString());
    bool drawn = false;
    if (format == Format::Png) {
        const QImage image = Image(draw, size);
        drawn = !image.isNull() && image.save(&file, "PNG");
    } else if (format == Format::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QFileInfo(path).completeBaseName());
        QPainter painter(&svg);
        drawn = painter.isActive();
        if (drawn) {
            painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
            draw(painter, size);
            drawn = painter.end();
        }
    } else {
        QPdfWriter pdf(&file);
        pdf.setPageLayout(page);
        pdf.setTitle(QFileInfo(path).completeBaseName());
        QPainter painter(&pdf);
        drawn = PaintOnPage(painter, pdf, draw, size);
    }
    if (!drawn)
        return Failed(path, QStringLiteral("the picture could not be drawn"));
    if (!file.commit())
        return Failed(path, file.errorString());
    return {};
}

bool PictureWriter::Print(QPagedPaintDevice& device, const Painter& draw, const QSize& size) {
    QPainter painter(&device);
    return PaintOnPage(painter, device, draw, size);
}
