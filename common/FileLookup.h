#pragma once

#include <QString>

// Package files are named without regard to case ("MMHlp.htm", "mmhlp.htm" and "MmHlp.htm"
// are one file), as they were on the system the package comes from.
namespace FileLookup {

// The path of the file in `directory` whose name equals `name` ignoring case; the exact name
// wins when several match. When none exists, the path with `name` as given.
QString FindNoCase(const QString& directory, const QString& name);

} // namespace FileLookup
