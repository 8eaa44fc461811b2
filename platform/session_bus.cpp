#include "platform/session_bus.h"

#include <dbus/dbus.h>

#include <QtGlobal>

#include <future>
#include <memory>
#include <optional>
#include <thread>

namespace tremira::platform {
namespace {

// An address of no known transport: the bus library gives it up at once, and quietly.
constexpr char kNoBus[] = "disabled:";

constexpr char kBusService[] = "org.freedesktop.DBus";
constexpr char kBusPath[] = "/org/freedesktop/DBus";
constexpr char kRegistryService[] = "org.a11y.Bus";
constexpr char kRegistryPath[] = "/org/a11y/bus";

struct CloseConnection {
    void operator()(DBusConnection *connection) const {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
};
using Connection = std::unique_ptr<DBusConnection, CloseConnection>;

struct UnrefMessage {
    void operator()(DBusMessage *message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, UnrefMessage>;

class Error {
public:
    Error() { dbus_error_init(&m_error); }
    Error(const Error &) = delete;
    Error &operator=(const Error &) = delete;
    ~Error() { dbus_error_free(&m_error); }

    DBusError *get() { return &m_error; }
    bool noAnswer() const {
        return dbus_error_has_name(&m_error, DBUS_ERROR_NO_REPLY) || dbus_error_has_name(&m_error, DBUS_ERROR_TIMEOUT);
    }

private:
    DBusError m_error;
};

Message methodCall(const char *service, const char *path, const char *interface, const char *method) {
    return Message(dbus_message_new_method_call(service, path, interface, method));
}

// What came back: a reply, an error, or nothing within the limit.
struct Reply {
    bool silent = false;
    Message message;
};

class Bus {
public:
    Bus(Connection connection, std::chrono::milliseconds limit) : m_connection(std::move(connection)), m_limit(limit) {}

    Reply send(const Message &call) const {
        Error error;
        Message reply(dbus_connection_send_with_reply_and_block(m_connection.get(), call.get(),
                                                                static_cast<int>(m_limit.count()), error.get()));
        return {!reply && error.noAnswer(), std::move(reply)};
    }

private:
    Connection m_connection;
    std::chrono::milliseconds m_limit;
};

// A bus reached: it answered the hello every client says first, or said nothing at all.
struct Greeting {
    bool silent = false;
    std::optional<Bus> bus;  // none when silent, or when nothing could be reached
};

Greeting connectAndGreet(const QByteArray &address, std::chrono::milliseconds limit) {
    Error error;
    Connection connection(dbus_connection_open_private(address.constData(), error.get()));
    if (!connection) return {};
    dbus_connection_set_exit_on_disconnect(connection.get(), false);
    Bus bus(std::move(connection), limit);
    const Reply hello = bus.send(methodCall(kBusService, kBusPath, kBusService, "Hello"));
    if (hello.silent) return {true, std::nullopt};
    return {false, hello.message ? std::optional<Bus>(std::move(bus)) : std::nullopt};
}

// The bus library waits for the login to a bus without a limit, so the greeting runs on a
// thread of its own; one that is still waiting at the limit is left to wait until the end.
Greeting greet(const QByteArray &address, std::chrono::milliseconds limit) {
    if (address.isEmpty()) return {};
    auto greeting = std::make_shared<std::promise<Greeting>>();
    std::future<Greeting> answer = greeting->get_future();
    std::thread([address, limit, greeting] { greeting->set_value(connectAndGreet(address, limit)); }).detach();
    if (answer.wait_for(limit) == std::future_status::timeout) return {true, std::nullopt};
    return answer.get();
}

std::optional<QByteArray> stringOf(const Reply &reply) {
    const char *text = nullptr;
    Error error;
    if (!reply.message ||
        !dbus_message_get_args(reply.message.get(), error.get(), DBUS_TYPE_STRING, &text, DBUS_TYPE_INVALID)) {
        return std::nullopt;
    }
    return QByteArray(text);
}

bool registryRuns(const Bus &session) {
    const Message question = methodCall(kBusService, kBusPath, kBusService, "NameHasOwner");
    const char *name = kRegistryService;
    dbus_message_append_args(question.get(), DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID);
    const Reply reply = session.send(question);
    dbus_bool_t owned = false;
    Error error;
    return reply.message &&
           dbus_message_get_args(reply.message.get(), error.get(), DBUS_TYPE_BOOLEAN, &owned, DBUS_TYPE_INVALID) &&
           owned;
}

// The accessibility bus Qt would take from the session bus: it asks the registry only when one
// runs (asking would start one otherwise), and connects to the address the registry gives.
bool accessibilityThroughSessionSilent(const Bus &session, std::chrono::milliseconds limit) {
    if (!registryRuns(session)) return false;
    const Reply address = session.send(methodCall(kRegistryService, kRegistryPath, kRegistryService, "GetAddress"));
    if (address.silent) return true;
    return greet(stringOf(address).value_or(QByteArray()), limit).silent;
}

}  // namespace

BusAddresses CurrentBusAddresses() { return {qgetenv("DBUS_SESSION_BUS_ADDRESS"), qgetenv("AT_SPI_BUS_ADDRESS")}; }

SilentBuses FindSilentBuses(const BusAddresses &buses, std::chrono::milliseconds limit) {
    const Greeting session = greet(buses.session, limit);
    // With an accessibility bus named, Qt never asks the session bus for one.
    if (!buses.accessibility.isEmpty()) return {session.silent, greet(buses.accessibility, limit).silent};
    return {session.silent, session.bus && accessibilityThroughSessionSilent(*session.bus, limit)};
}

void AvoidSilentBuses(const SilentBuses &silent) {
    if (silent.session) qputenv("DBUS_SESSION_BUS_ADDRESS", kNoBus);
    if (silent.accessibility) qputenv("AT_SPI_BUS_ADDRESS", kNoBus);
}

QString SilentBusMessage(const SilentBuses &silent) {
    if (silent.session) {
        return QStringLiteral("Тремира: сеансовая шина D-Bus не отвечает, программа работает без неё (без поддержки "
                              "чтения с экрана и без порталов рабочего стола). / Tremira: the D-Bus session bus does "
                              "not answer; running without it (no screen reader support, no desktop portals).");
    }
    return QStringLiteral("Тремира: шина специальных возможностей не отвечает, программа работает без поддержки "
                          "чтения с экрана. / Tremira: the accessibility bus does not answer; running without screen "
                          "reader support.");
}

}  // namespace tremira::platform
