#pragma once

#include <QString>

// A tmpfs of a few kB mounted on a folder for one test, to make a disk full
// or read-only for a process that runs as root (permissions do not stop it).
// Unmounted when it goes.
class TinyFs
{
public:
    explicit TinyFs(const QString &folder)
        : m_folder(folder)
    { }
    ~TinyFs();
    TinyFs(const TinyFs &) = delete;
    TinyFs &operator=(const TinyFs &) = delete;

    bool mount(QString *error);
    // Takes every free byte with a file named "filler", or gives it back.
    bool fill();
    bool removeFiller();
    bool setReadOnly(bool readOnly);
    QString folder() const { return m_folder; }

private:
    QString m_folder;
    bool m_mounted = false;
};
