#pragma once

#include <QBuffer>
#include <QtGlobal>
#include <memory>

#if defined(DIALOG_LIBRARY)
#define DIALOG_EXPORT Q_DECL_EXPORT
#else
#define DIALOG_EXPORT Q_DECL_IMPORT
#endif

class QWidget;

// The dialog library's two calls. The table block travels in `stream`: its lines, each ended
// by CR LF, read from position 0. On true the stream holds the complete new block; the
// library may replace the stream object, and the caller frees whatever it then holds. Unit
// codes: length 1 cm, 2 mm, other m; force 1 kN, 2 MN, 3 kg, 4 T, other N. A standard table
// that cannot be read is reported by the library, which then returns false.

// Standard profiles (and sections drawn in the section editor) for table 3 of the problem
// type `problem` (1 to 19).
DIALOG_EXPORT bool ProfilesDlg(QWidget* owner, const char* tablePath, int problem, int count,
                               std::unique_ptr<QBuffer>& stream, int lengthUnit);

// Standard materials for table 2.
DIALOG_EXPORT bool MaterialDlg(QWidget* owner, const char* tablePath, int count,
                               std::unique_ptr<QBuffer>& stream, int lengthUnit, int forceUnit);
