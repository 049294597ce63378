#pragma once

#include <QString>

// The figures of the fault tests: one line on the console and the same line
// appended to faults-summary.txt in the build folder, for the reliability report.
namespace faults {

void reportLine(const QString &line);
// "FAULTS: <name> injected=<n> survived=<n>"
void reportFaults(const QString &name, int injected, int survived);
// This process's resident memory (VmRSS) in kB, -1 when unknown.
long residentKb();

} // namespace faults
