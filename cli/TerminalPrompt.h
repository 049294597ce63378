#pragma once

#include "model/UserPrompt.h"

// mavuctl's questions on the terminal: notices on stderr, answers read from
// standard input (no answer, or the input at its end, means no).
class TerminalPrompt : public UserPrompt
{
public:
    void notify(Kind kind, const QString &title, const QString &text) override;
    bool question(const QString &title, const QString &text) override;
};
