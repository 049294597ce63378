#include "support/editor/EditorFixture.h"

#include "support/editor/QmlWarnings.h"

#include "app/Editor.h"

#include <QtTest>

DataManagement *EditorFixture::settings() const
{
    return m_objects->settings();
}

void EditorFixture::initTestCase()
{
    qmlwarnings::start();
    m_editor.start(this);
    m_objects = m_editor.editor.get();
    m_window = &m_objects->window();
    m_document = &m_objects->document();
}

void EditorFixture::cleanupTestCase()
{
    m_editor.stop();
}

void EditorFixture::cleanup()
{
    const QString warnings = qmlwarnings::report();
    qmlwarnings::clear();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
}
