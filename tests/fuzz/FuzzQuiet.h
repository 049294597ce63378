#pragma once

#include <QByteArray>
#include <QtGlobal>

// The code under test writes debug lines that would drown libFuzzer's output
// and slow every run; switch them off once per process.
inline void silenceDebugLines()
{
    static const bool done = [] {
        qputenv("QT_LOGGING_RULES", "*.debug=false");
        return true;
    }();
    (void)done;
}
