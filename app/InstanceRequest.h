#pragma once

#include <QByteArray>
#include <QStringList>

// The message a later copy of the editor sends to the running one: one line of
// JSON naming the files it was started with (absolute paths, maybe none).
namespace instancerequest {

constexpr int kMaxSize = 64 * 1024;

QByteArray encode(const QStringList &files);

// False for anything that is not a well-formed request (the text then says why).
bool decode(const QByteArray &line, QStringList *files, QString *error = nullptr);

// The running copy's answers.
QByteArray acceptedReply();
QByteArray rejectedReply();

} // namespace instancerequest
