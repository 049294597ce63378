#pragma once

#include <QObject>
#include <QString>

class QQmlEngine;

// Languages, the current one, its persistence and run-time switching.
class Trans : public QObject
{
    Q_OBJECT
public:
    Trans(QQmlEngine *engine, QObject *parent = nullptr);

private:
    QQmlEngine *m_engine = nullptr;
};
