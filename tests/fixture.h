// The common ground of every test: fresh shared state, a fresh simulated
// port, an empty data folder of the test's own, message boxes recorded
// instead of shown, and a fixed local clock.
#pragma once

#include "platform/port.h"
#include "platform/seams.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

class OrvanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file of the data folder ("backlash.ini", "img/liste.txt").
    void WriteData(const QString& relative, const QByteArray& bytes);
    void WriteData(const QString& relative, const QString& text) { WriteData(relative, text.toUtf8()); }
    QString ReadData(const QString& relative) const;
    bool DataExists(const QString& relative) const;
    // Copies the program's shipped data folder into the test's own.
    void UseShippedData();

    port::SimulatedPort& Sim() { return *sim_; }
    // The writes made to the port since the test began (or ClearWrites).
    std::vector<port::Write> Writes() const { return sim_->Writes(); }
    // The values written to the data register, in order.
    std::vector<int> Data() const;
    // n pulses of the given bits, as Data() shows them.
    static std::vector<int> Pulses(int n, int direction, int step);
    // The one message shown refuses the box named `box`, says what it must
    // hold (`range`, or a part of it) and ends with `consequence`; the
    // messages are then cleared.
    void ExpectRefusal(const QString& box, const QString& range,
                       const QString& consequence = QStringLiteral("Rien n'a été enregistré."));

    QStringList messages;   // texts of the message boxes, in order
    seams::LocalTime clock; // what the local clock reads
    int quitCalls = 0;

private:
    QTemporaryDir dir_;
    port::SimulatedPort* sim_ = nullptr;
};

// Source folder of the shipped data (set by the build).
QString ShippedDataFolder();

// Tests that drive real windows: every window is dropped after the case.
class WindowTest : public OrvanelTest {
protected:
    void TearDown() override;
    // The control is what the user sees at its middle: no sibling covers it.
    static bool InSight(const QWidget& window, QWidget* control);
};
