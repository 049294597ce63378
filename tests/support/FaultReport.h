#pragma once

#include <QString>

// The figures of the fault tests: one line on the console and the same line
// appended to faults-summary.txt in the build folder, for the reliability report.
namespace faults {

void reportLine(const QString &line);
// "FAULTS: <name> injected=<n> survived=<n>"
void reportFaults(const QString &name, int injected, int survived);
// The heap still allocated, in kB: what a long run is judged by. Not the
// resident size, which hides a leak while freed memory is reused (and under
// AddressSanitizer swells with the freed blocks it holds back).
long memoryInUseKb();

} // namespace faults
