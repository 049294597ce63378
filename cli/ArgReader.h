#pragma once

#include <QString>
#include <QStringList>

namespace cli {

// Reads the arguments of one settings change in order, each checked as it is
// read; the first bad one stops it and names what was wrong.
class ArgReader
{
public:
    explicit ArgReader(const QStringList &args)
        : m_args(args)
    { }

    QString error() const { return m_error; }
    bool ok() const { return m_error.isEmpty(); }
    bool atEnd() const { return m_next >= m_args.size(); }

    int integer(const QString &name, int min, int max);
    double real(const QString &name, double min, double max);
    bool boolean(const QString &name);
    QString oneOf(const QString &name, const QStringList &choices);
    // As oneOf, its place among the choices.
    int choice(const QString &name, const QStringList &choices);
    // A colour such as #ff8000.
    QString color(const QString &name);
    // A note's number, 0 to 127, or its name as dump shows it (C4 is 60).
    int note(const QString &name);

    QString peek() const { return m_args.value(m_next); }
    void finish();
    void setError(const QString &error);

private:
    QString next(const QString &name);

    QStringList m_args;
    int m_next = 0;
    QString m_error;
};

} // namespace cli
