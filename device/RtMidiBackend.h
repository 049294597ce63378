#pragma once

#include "device/MidiBackend.h"

#include <memory>

class RtMidiIn;
class RtMidiOut;

// The system's MIDI through RtMidi, on ALSA's sequencer or on JACK.
class RtMidiBackend : public MidiBackend
{
public:
    enum class Api { Alsa, Jack };

    // clientName names this program's MIDI clients.
    RtMidiBackend(Api api, const QString &clientName);
    ~RtMidiBackend() override;

    QString apiName() const override;
    QStringList inputPortIds() override;
    QStringList outputPortIds() override;
    QString productName(const QString &portId) const override;
    std::unique_ptr<MidiInputLink> openInput(
        int index, const QString &portId, Receive receive, QString *error) override;
    std::unique_ptr<MidiOutputLink> openOutput(int index, const QString &portId, QString *error) override;

    // Chooses the MIDI system: "alsa", "jack", or empty for ALSA when its
    // sequencer works and JACK otherwise. Null (with *error) when the chosen
    // one cannot start.
    static std::unique_ptr<RtMidiBackend> create(const QString &api, const QString &clientName, QString *error);

private:
    Api m_api;
    QString m_clientName;
    // Kept for listing, so that a poll does not open a new client every time.
    std::unique_ptr<RtMidiIn> m_inLister;
    std::unique_ptr<RtMidiOut> m_outLister;
};
