#pragma once

#include <QString>
#include <QStringList>

// Collects every warning and error the program writes while a UI test runs,
// so the test can insist on a clean log. A test collects between a start()
// in its initTestCase and a stop() in its cleanupTestCase.
namespace qmlwarnings {

void start();
void stop();
void clear();
QStringList collected();
// The collected lines as one text, for a failure message.
QString report();

} // namespace qmlwarnings
