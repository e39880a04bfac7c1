#pragma once

#include <QStringList>
#include <QTextStream>

// The batch report: reads section files and prints their characteristics as the results panel
// shows them, or as one JSON object per file. Returns the process exit status: 0 when every
// file was reported, 1 when any file could not be, 2 for a wrong command line.
int RunReportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
