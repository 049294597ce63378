#pragma once

#include <QObject>
#include <QString>

// Clipboard of the function page: the field contents of one bank column,
// kept between a "copy" and a "paste". No signals, no conversion.
#define MAVU_FUNCTION_PROPERTY(Type, name)                                                                             \
    Q_PROPERTY(Type name READ get_##name WRITE set_##name)                                                             \
public:                                                                                                                \
    Q_INVOKABLE Type get_##name() const                                                                                \
    {                                                                                                                  \
        return m_##name;                                                                                               \
    }                                                                                                                  \
    Q_INVOKABLE void set_##name(Type value)                                                                            \
    {                                                                                                                  \
        m_##name = value;                                                                                              \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    Type m_##name{};

class FunctionProperty : public QObject
{
    Q_OBJECT
    MAVU_FUNCTION_PROPERTY(QString, knobs_cc_start)
    MAVU_FUNCTION_PROPERTY(QString, knobs_cc_min)
    MAVU_FUNCTION_PROPERTY(QString, knobs_cc_max)
    MAVU_FUNCTION_PROPERTY(int, knobs_cc_ch)
    MAVU_FUNCTION_PROPERTY(QString, knobs_chn1_min)
    MAVU_FUNCTION_PROPERTY(QString, knobs_chn1_max)
    MAVU_FUNCTION_PROPERTY(int, knobs_chn1_ch)
    MAVU_FUNCTION_PROPERTY(QString, knobs_chn2_lsbmin)
    MAVU_FUNCTION_PROPERTY(QString, knobs_chn2_lsbmax)
    MAVU_FUNCTION_PROPERTY(QString, knobs_chn2_msbmin)
    MAVU_FUNCTION_PROPERTY(QString, knobs_chn2_msbmax)
    MAVU_FUNCTION_PROPERTY(int, knobs_chn2_ch)
    MAVU_FUNCTION_PROPERTY(QString, pads_note_note)
    MAVU_FUNCTION_PROPERTY(bool, pads_note_ad)
    MAVU_FUNCTION_PROPERTY(int, pads_note_ch)
    MAVU_FUNCTION_PROPERTY(QString, pads_cc_note)
    MAVU_FUNCTION_PROPERTY(bool, pads_cc_ad)
    MAVU_FUNCTION_PROPERTY(bool, pads_cc_type)
    MAVU_FUNCTION_PROPERTY(int, pads_cc_ch)
    MAVU_FUNCTION_PROPERTY(QString, pads_pc_note)
    MAVU_FUNCTION_PROPERTY(bool, pads_pc_ad)
    MAVU_FUNCTION_PROPERTY(int, pads_pc_ch)
    MAVU_FUNCTION_PROPERTY(QString, pads_color_r)
    MAVU_FUNCTION_PROPERTY(QString, pads_color_g)
    MAVU_FUNCTION_PROPERTY(QString, pads_color_b)
    MAVU_FUNCTION_PROPERTY(double, luminance)
    MAVU_FUNCTION_PROPERTY(QString, pressure_level)
    MAVU_FUNCTION_PROPERTY(int, pressure_velocity)

public:
    explicit FunctionProperty(QObject *parent = nullptr)
        : QObject(parent)
    { }
};
