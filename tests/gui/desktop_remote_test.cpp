#include <gtest/gtest.h>

#include <QAction>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QMenu>

#include "device/device_info_block.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/desktop_remote.h"
#include "gui/platform/korvel_bus_service.h"
#include "gui/platform/tray_icon.h"
#include "gui/platform/tray_menu.h"
#include "gui/private_bus.h"

namespace korvel {
namespace {

using fixtures::PumpUntil;

// Hears the window's signal on the bus, as a desktop shortcut's script would.
class SignalEar : public QObject {
    Q_OBJECT
public:
    QList<int> heard;
public slots:
    void OnProfileChanged(int profile) { heard << profile; }
};

class DesktopRemoteTest : public fixtures::MainWindowFixture {
protected:
    void SetUp() override {
        if (!bus.Running()) {
            GTEST_SKIP() << "dbus-daemon is not installed";
        }
        sessionBus = bus.Connect("korvel-window");
        systemBus = sessionBus;
        client = std::make_unique<QDBusConnection>(bus.Connect("desktop"));
        // The stand-in for logind holds its name, as the real one does on the system bus.
        ASSERT_TRUE(client->registerService("org.freedesktop.login1"));
    }

    QDBusMessage Call(const char* method, const QVariantList& arguments = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(KorvelBusService::kServiceName,
                                                           KorvelBusService::kObjectPath,
                                                           "org.korvel.Korvel1", method);
        call.setArguments(arguments);
        // Asynchronous: the window answers from this very thread's event loop.
        QDBusPendingCall pending = client->asyncCall(call);
        PumpUntil([&] { return pending.isFinished(); });
        return pending.reply();
    }

    void Emit(const char* path, const char* interface, const char* name, bool value) {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
        signal << value;
        client->send(signal);
    }

    int KeyboardProfile() const { return keyboard.Memory().info[kInfoActiveProfileOffset]; }

    fixtures::PrivateBus bus;
    std::unique_ptr<QDBusConnection> client;
};

TEST_F(DesktopRemoteTest, TheServiceReadsAndSwitchesTheProfileAndSaysWhenItChanged) {
    auto window = StartShown();
    SignalEar ear;
    ASSERT_TRUE(client->connect(KorvelBusService::kServiceName, KorvelBusService::kObjectPath,
                                "org.korvel.Korvel1", "ActiveProfileChanged", &ear,
                                SLOT(OnProfileChanged(int))));
    EXPECT_EQ(Call("ActiveProfile").arguments().value(0).toInt(), 1);

    const QDBusMessage switched = Call("SetActiveProfile", {2});
    EXPECT_EQ(switched.type(), QDBusMessage::ReplyMessage) << switched.errorMessage().toStdString();
    ASSERT_TRUE(PumpUntil([&] { return KeyboardProfile() == 1 && ear.heard == QList<int>{2}; }));
    EXPECT_EQ(Call("ActiveProfile").arguments().value(0).toInt(), 2);

    // Refusals come back as D-Bus errors, and nothing changes.
    const QDBusMessage outside = Call("SetActiveProfile", {7});
    EXPECT_EQ(outside.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(outside.errorName(), "org.korvel.Korvel1.Error.Refused");
    StageRemapOfA(*window, 0x030);
    const QDBusMessage editing = Call("SetActiveProfile", {3});
    EXPECT_EQ(editing.type(), QDBusMessage::ErrorMessage);
    EXPECT_TRUE(editing.errorMessage().contains("not applied"))
        << editing.errorMessage().toStdString();
    EXPECT_TRUE(fixtures::MainWindowFixture::Idle(*window));
    EXPECT_EQ(KeyboardProfile(), 1);
}

TEST_F(DesktopRemoteTest, TheLightingSleepsWithTheScreenAndComesBackExactly) {
    auto window = StartShown();
    const auto before = keyboard.Memory().params;
    ASSERT_NE(RecordByte(0, 1), 0);

    // Off by default: locking the screen changes nothing.
    Emit("/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged", true);
    Emit("/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged", false);
    EXPECT_TRUE(Idle(*window));
    EXPECT_EQ(keyboard.Memory().params, before);

    window->Remote().SetAwayBrightness(0);
    for (const auto& [path, interface, name] :
         {std::tuple{"/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver",
                     "ActiveChanged"},
          std::tuple{"/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                     "PrepareForSleep"}}) {
        SCOPED_TRACE(name);
        Emit(path, interface, name, true);
        ASSERT_TRUE(PumpUntil([&] { return RecordByte(0, 1) == 0 && Idle(*window); }));
        auto dark = before;
        dark[1] = 0;
        EXPECT_EQ(keyboard.Memory().params, dark) << "the brightness alone";
        Emit(path, interface, name, false);
        ASSERT_TRUE(PumpUntil([&] { return keyboard.Memory().params == before; }));
        EXPECT_TRUE(Idle(*window));
        EXPECT_FALSE(window->Remote().LightingDown());
    }

    // Dimmed from a script, the brightness as asked; restored as it was.
    EXPECT_EQ(Call("SetBrightness", {2}).type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(PumpUntil([&] { return RecordByte(0, 1) == 2; }));
    EXPECT_EQ(Call("SetBrightness", {9}).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(Call("RestoreBrightness").type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(PumpUntil([&] { return keyboard.Memory().params == before; }));
}

TEST_F(DesktopRemoteTest, TheTrayMenuOffersTheProfilesAndTheLighting) {
    auto window = StartShown();
    QMenu* menu = window->TrayIcon()->Menu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    const auto action = [menu](int command) -> QAction* {
        for (QAction* a : menu->actions()) {
            if (a->data().toInt() == command) {
                return a;
            }
        }
        return nullptr;
    };
    ASSERT_NE(action(kCmdTrayProfile1), nullptr);
    EXPECT_TRUE(action(kCmdTrayProfile1)->isChecked());
    EXPECT_FALSE(action(kCmdTrayProfile1 + 2)->isChecked());
    EXPECT_EQ(menu->defaultAction(), action(kCmdTrayOpen));

    action(kCmdTrayProfile1 + 2)->trigger();
    ASSERT_TRUE(PumpUntil([&] { return KeyboardProfile() == 2 && Idle(*window); }));
    emit menu->aboutToShow();
    EXPECT_TRUE(action(kCmdTrayProfile1 + 2)->isChecked());

    const auto before = keyboard.Memory().params;
    action(kCmdTrayLightingOff)->trigger();
    ASSERT_TRUE(PumpUntil([&] { return RecordByte(2, 1) == 0 && Idle(*window); }));
    emit menu->aboutToShow();
    ASSERT_NE(action(kCmdTrayLightingOn), nullptr);
    action(kCmdTrayLightingOn)->trigger();
    ASSERT_TRUE(PumpUntil([&] { return keyboard.Memory().params == before; }));
}

}  // namespace
}  // namespace korvel

#include "desktop_remote_test.moc"
