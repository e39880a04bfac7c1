#pragma once

#include "CheckFault.h"
#include "DataFileText.h"
#include "DataFormat.h"

// Expands the generation lines of tables 4 and 5 of a frame's data file:
//
//   #N first last step         a node series: the nodes first + step, first + 2 step, ...
//                              up to last - step, equally spaced on the line from node first
//                              to node last (both given by items or earlier series)
//   #E base count [nstep [kstep]]
//                              an element series: `count` copies of element `base`, copy k
//                              numbered base + k nstep (nstep 1 when left out), its nodes
//                              those of the base plus k kstep (kstep 1 when left out); a
//                              node 0 (no node) stays 0 and the other values are copied
//
// After the expansion each table holds its items in number order, 1 to the highest without a
// gap, and items 5 and 6 of table 1 give the new counts. A table without generation lines is
// left as it stands. On a fault nothing of the text is changed. Each line of the expanded text
// keeps the line it stands for (DataFileText::OriginLine): a generated item that of the series
// line that made it.
class FrameSeries {
public:
    struct Outcome {
        bool Ok = false;
        CheckFault Fault;
        int NewNodes = 0;
        int NewElements = 0;
        bool Changed() const { return NewNodes > 0 || NewElements > 0; }
    };

    // Items a table may reach through series; a slip like "#N 1 2000000000 1" is refused
    // before it fills the memory.
    static constexpr int MaxItems = 1000000;

    static Outcome Expand(DataFileText& text, const DataFormat& format);
    // Whether a line is a generation line ("#N" or "#E", either case).
    static bool IsSeriesLine(const QString& line);
    // Whether the text holds a generation line before its end mark.
    static bool HasSeries(const DataFileText& text);
};
