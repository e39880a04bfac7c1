#pragma once

#include <QString>

// The first fault found in a data file. Line counts from 1; 0 means the file as a whole
// (it cannot be read, its name gives no problem type, it is empty).
struct CheckFault {
    int Line = 0;
    QString Message;
};
