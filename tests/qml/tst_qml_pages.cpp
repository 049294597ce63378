// Qt Quick tests of the pages, with the real settings model behind them.
#include "LogProbe.h"
#include "MainLogicDouble.h"
#include "TransDouble.h"

#include "app/ColorPalette.h"
#include "app/WebLinks.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "model/DataManagement.h"
#include "model/FunctionProperty.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QtQuickTest>

class Setup : public QObject
{
    Q_OBJECT
public slots:
    void applicationAvailable()
    {
        // The offscreen platform has no OpenGL.
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        qmlRegisterType<ColorPalette>("ColorP", 1, 0, "ColorPalette");
        WebLinks::registerQmlType();
    }

    void qmlEngineAvailable(QQmlEngine *engine)
    {
        // A fresh settings image for every test file.
        auto *data = new DataManagement(engine);
        data->initDefaultData();
        QQmlContext *context = engine->rootContext();
        context->setContextProperty(QStringLiteral("Tran"), new TransDouble(engine));
        context->setContextProperty(QStringLiteral("MainLogic"), new MainLogicDouble(engine));
        context->setContextProperty(QStringLiteral("DataMgt"), data);
        context->setContextProperty(QStringLiteral("Ftp"), new MyFtp(engine));
        context->setContextProperty(QStringLiteral("FirmwareUpdate"), new FirmwareUpdate(engine));
        context->setContextProperty(QStringLiteral("FunctionProperty"), new FunctionProperty(engine));
        context->setContextProperty(QStringLiteral("LogProbe"), new LogProbe(engine));
    }
};

QUICK_TEST_MAIN_WITH_SETUP(mavu_pages, Setup)

#include "tst_qml_pages.moc"
