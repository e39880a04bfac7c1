#pragma once

#include <QString>

// The message users of the package know for a failed file operation ("File not found",
// "Disk full", "I/O error 13"), from the system's error number.
QString IoErrorText(int systemError);
