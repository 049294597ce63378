#include "i18n/Trans.h"

Trans::Trans(QQmlEngine *engine, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
{
}
