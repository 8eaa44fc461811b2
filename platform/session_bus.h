#pragma once
// Whether the session bus, and the accessibility bus it leads to, answer. Qt's accessibility
// bridge waits on both without a limit while the main window is built and shown: a bus that
// takes the connection and never answers would keep the window from appearing, or from ever
// being painted. Such a bus is given up for the whole run, with one line on the terminal.

#include <QByteArray>
#include <QString>

#include <chrono>

namespace tremira::platform {

// The buses a run may use; empty when there is none.
struct BusAddresses {
    QByteArray session;        // DBUS_SESSION_BUS_ADDRESS
    QByteArray accessibility;  // AT_SPI_BUS_ADDRESS, which Qt takes before asking the session bus
};

BusAddresses CurrentBusAddresses();

// Which of them take a connection and then say nothing within `limit` per call. A bus that
// cannot be reached at all is not silent: Qt gives it up at once by itself.
struct SilentBuses {
    bool session = false;
    bool accessibility = false;  // the one named, else the one the session bus's registry gives

    bool any() const { return session || accessibility; }
};

SilentBuses FindSilentBuses(const BusAddresses &buses, std::chrono::milliseconds limit);

// Points the program, and every program it starts, away from the silent buses: Qt then runs
// without the accessibility bridge (and without the desktop's portal when the session bus is
// the silent one).
void AvoidSilentBuses(const SilentBuses &silent);

// One line, Russian and English, for the terminal.
QString SilentBusMessage(const SilentBuses &silent);

}  // namespace tremira::platform
