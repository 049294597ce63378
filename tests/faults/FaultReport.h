#pragma once

#include <QString>

// The figures of the fault tests: one line on the console and the same line
// appended to faults-summary.txt in the build folder, for the reliability report.
namespace faults {

void reportLine(const QString &line);
// "FAULTS: <name> injected=<n> survived=<n>"
void reportFaults(const QString &name, int injected, int survived);
// The memory a long run is judged by, in kB, and what it counts. Normally
// that is VmRSS. Under AddressSanitizer freed blocks wait in quarantine and
// swell VmRSS by hundreds of MB, so there it is the heap still allocated.
long memoryInUseKb();
const char *memoryInUseKind();

} // namespace faults
