#include "LauncherSettings.h"

#include "PackageSettings.h"
#include "VormError.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace {

const QString DataDirectoryName = QStringLiteral("DataDirectory");
const QString YornikDirectoryName = QStringLiteral("YornikDirectory");
const QString FontNameName = QStringLiteral("FontName");
const QString FontSizeName = QStringLiteral("FontSize");
const QString FontHeightName = QStringLiteral("FontHeight");
const QString FontColorName = QStringLiteral("FontColor");
const QString FontCharSetName = QStringLiteral("FontCharSet");
const QString FontStyleName = QStringLiteral("FontStyle");
const QString BackColorName = QStringLiteral("BackColor");
const QString DialogStyleName = QStringLiteral("DlgStyle");
const QString DialogWidthName = QStringLiteral("DlgWidth");
const QString DialogHeightName = QStringLiteral("DlgHeight");

constexpr int StyleBold = 1;
constexpr int StyleItalic = 2;
constexpr int StyleUnderline = 4;
constexpr int StyleStrikeOut = 8;

// Font heights are stored in pixels at the 96 dots per inch the stored values were made for.
constexpr double PixelsPerPoint = 96.0 / 72.0;

constexpr int RussianCharSet = 204;

} // namespace

QVariant LauncherSettings::ReadValue(const QString& name) {
    const auto settings = PackageSettings::Open();
    return settings->value(name);
}

int LauncherSettings::ReadInteger(const QString& name) {
    const QVariant value = ReadValue(name);
    if (!value.isValid())
        throw VormError(QStringLiteral("Failed to get data for '%1'").arg(name));
    bool ok = false;
    int number = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        // A registry integer is 32 bits wide; colours with the high bit set come back as
        // unsigned numbers.
        number = int(quint32(value.toULongLong(&ok)));
        break;
    case QMetaType::QString:
    case QMetaType::QByteArray:
        // The INI store keeps no types: an integer comes back as its text.
        number = value.toString().trimmed().toInt(&ok);
        break;
    default:
        break;
    }
    if (!ok)
        throw VormError(QStringLiteral("Invalid data type for '%1'").arg(name));
    return number;
}

int LauncherSettings::ReadInteger(const QString& name, int fallback) {
    if (!ReadValue(name).isValid())
        return fallback;
    return ReadInteger(name);
}

void LauncherSettings::WriteInteger(const QString& name, int value) {
    const auto settings = PackageSettings::Open();
    settings->setValue(name, value);
    settings->sync();
}

QString LauncherSettings::ReadDataDirectory() const {
    try {
        return PackageSettings::ReadDataDirectory();
    } catch (const std::runtime_error& error) {
        throw VormError(QString::fromStdString(error.what()));
    }
}

void LauncherSettings::WriteDataDirectory(const QString& fileName) const {
    const QString directory = QFileInfo(fileName).absolutePath();
    QString stored = QDir::toNativeSeparators(directory);
    if (!stored.endsWith(QDir::separator()))
        stored += QDir::separator();
    PackageSettings::WriteDataDirectory(stored);
}

QString LauncherSettings::ReadYornikDirectory() const {
    try {
        return PackageSettings::ReadString(YornikDirectoryName);
    } catch (const std::runtime_error& error) {
        throw VormError(QString::fromStdString(error.what()));
    }
}

EditorFont LauncherSettings::ReadEditorFont() const {
    EditorFont result = DefaultEditorFont();
    QString name;
    try {
        name = PackageSettings::ReadString(FontNameName);
    } catch (const std::runtime_error& error) {
        throw VormError(QString::fromStdString(error.what()));
    }
    if (!name.isEmpty())
        result.Font.setFamily(name);
    const int size = ReadInteger(FontSizeName, 0);
    if (size > 0)
        result.Font.setPointSize(size);
    // The height is applied after the size, so a stored height decides the final size. A
    // negative height is the character height in pixels.
    const int height = ReadInteger(FontHeightName, 0);
    if (height != 0)
        result.Font.setPixelSize(std::abs(height));
    result.Color = ColorFromStored(ReadInteger(FontColorName, StoredFromColor(Qt::black)));
    result.CharSet = ReadInteger(FontCharSetName, result.CharSet) & 0xFF;
    const int style = ReadInteger(FontStyleName, 0);
    result.Font.setBold((style & StyleBold) != 0);
    result.Font.setItalic((style & StyleItalic) != 0);
    result.Font.setUnderline((style & StyleUnderline) != 0);
    result.Font.setStrikeOut((style & StyleStrikeOut) != 0);
    return result;
}

void LauncherSettings::WriteEditorFont(const EditorFont& font) const {
    const QFont& f = font.Font;
    const int size =
        f.pointSize() > 0 ? f.pointSize() : int(std::lround(f.pixelSize() / PixelsPerPoint));
    const int pixels =
        f.pixelSize() > 0 ? f.pixelSize() : int(std::lround(f.pointSizeF() * PixelsPerPoint));
    const int style = (f.bold() ? StyleBold : 0) | (f.italic() ? StyleItalic : 0) |
                      (f.underline() ? StyleUnderline : 0) | (f.strikeOut() ? StyleStrikeOut : 0);
    PackageSettings::WriteString(FontNameName, f.family());
    WriteInteger(FontSizeName, size);
    WriteInteger(FontHeightName, -pixels);
    WriteInteger(FontColorName, StoredFromColor(font.Color));
    WriteInteger(FontCharSetName, font.CharSet);
    WriteInteger(FontStyleName, style);
}

int LauncherSettings::ReadBackColor() const {
    return ReadInteger(BackColorName, DefaultBackColor);
}

void LauncherSettings::WriteBackColor(int color) const {
    WriteInteger(BackColorName, color);
}

QString LauncherSettings::ReadDialogStyle() const {
    try {
        return PackageSettings::ReadString(DialogStyleName);
    } catch (const std::runtime_error&) {
        return QStringLiteral("Properties");
    }
}

void LauncherSettings::SaveDialogStyle(bool listView) const {
    PackageSettings::WriteString(DialogStyleName,
                                 listView ? QStringLiteral("List") : QStringLiteral("Properties"));
}

QSize LauncherSettings::ReadOpenDialogSize() const {
    try {
        const QSize size(ReadInteger(DialogWidthName, 0), ReadInteger(DialogHeightName, 0));
        return size.width() > 0 && size.height() > 0 ? size : QSize();
    } catch (const VormError&) {
        // A remembered size is a convenience; a damaged one is forgotten.
        return {};
    }
}

void LauncherSettings::WriteOpenDialogSize(const QSize& size) const {
    WriteInteger(DialogWidthName, size.width());
    WriteInteger(DialogHeightName, size.height());
}

QColor LauncherSettings::ColorFromStored(int stored) {
    const quint32 value = quint32(stored);
    if ((value & 0xFF000000u) == 0x80000000u) {
        switch (value & 0xFFu) {
        case 5: // window background
            return Qt::white;
        case 15: // button face
            return QColor(0xF0, 0xF0, 0xF0);
        case 16: // button shadow
            return QColor(0xA0, 0xA0, 0xA0);
        default: // window text and the other text colours
            return Qt::black;
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

int LauncherSettings::StoredFromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

EditorFont LauncherSettings::DefaultEditorFont() {
    EditorFont font;
    font.Font = QFont(QStringLiteral("Courier New"));
    font.Font.setStyleHint(QFont::TypeWriter);
    font.Font.setFixedPitch(true);
    font.Font.setPointSize(10);
    font.Color = Qt::black;
    font.CharSet = RussianCharSet;
    return font;
}
