#pragma once

// How much memory a run may still take: the memory the system reports available, or less when
// the program runs in a container whose limit is lower. A solver compares what a model will
// need against it before it begins, so that a model too large is refused with its size instead
// of the program being killed when the memory runs out.
namespace MemoryBudget {

// Bytes; 0 when the system does not say.
double AvailableBytes();

// Reads the figures from the texts of /proc/meminfo and of the control group's memory.max and
// memory.current ("max" or empty when there is no limit): what AvailableBytes() works from.
double FromTexts(const char* meminfo, const char* limit, const char* current);

} // namespace MemoryBudget
