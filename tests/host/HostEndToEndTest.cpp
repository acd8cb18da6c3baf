#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QThread>

#include "ModuleHarness.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/RunningApplications.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

const QString kBuiltIn = QStringLiteral("org.pellimo.widget");

QList<qint64> runningPids(const QString& identifier) {
  QList<qint64> pids;
  for (const auto& app : platform::runningApplications()) {
    if (app.bundleIdentifier == identifier) pids.append(app.processIdentifier);
  }
  return pids;
}

QJsonObject status(ModuleHarness& harness, const QString& module = {}) {
  QStringList args{"status", "--json"};
  if (!module.isEmpty()) args.insert(1, module);
  const Finished result = harness.host(args);
  return QJsonDocument::fromJson(result.out.toUtf8()).object();
}

void post(const QString& name) {
  platform::DistributedNotificationCenter::defaultCenter().postNotificationName(name, std::nullopt);
}

class HostEndToEnd : public ::testing::Test {
 protected:
  void launch(const QString& module = {}) {
    QStringList args{"launch"};
    if (!module.isEmpty()) args.append(module);
    const Finished result = harness.host(args);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
  }

  ModuleHarness harness;
};

TEST_F(HostEndToEnd, LaunchAnnouncesTheModuleAndReportsItsFrame) {
  QProcess* watch = harness.startHost({"watch", "--count", "2"});
  // The watcher must be listening before the module announces itself.
  ASSERT_TRUE(eventually([&] { return runningPids(kBuiltIn).isEmpty(); }));
  QThread::msleep(300);
  launch();
  ASSERT_TRUE(watch->waitForFinished(10000));
  const QStringList lines = QString::fromUtf8(watch->readAllStandardOutput()).split('\n');
  EXPECT_TRUE(lines.contains(QStringLiteral("hello")));
  EXPECT_TRUE(
      lines.filter(QRegularExpression(R"(^frame \{\{-?\d+, -?\d+\}, \{\d+, \d+\}\}$)")).size() == 1)
      << lines.join('|').toStdString();
  EXPECT_TRUE(status(harness).value("ready").toBool());
}

TEST_F(HostEndToEnd, KillEndsTheModule) {
  launch();
  const Finished result = harness.host({"send", "kill"});
  EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
  EXPECT_TRUE(runningPids(kBuiltIn).isEmpty());
  EXPECT_EQ(harness.host({"send", "raise"}).exitCode, 1);
}

TEST_F(HostEndToEnd, ASecondInstanceQuitsAndTheFirstGoesOn) {
  launch();
  const QList<qint64> first = runningPids(kBuiltIn);
  QProcess* second = harness.startWidget();
  ASSERT_TRUE(second->waitForFinished(10000));
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(runningPids(kBuiltIn), first);
  const Finished again = harness.host({"launch"});
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_TRUE(again.out.contains(QStringLiteral("already running")));
}

TEST_F(HostEndToEnd, OfThreeStartedTogetherTheOldestStays) {
  QList<QProcess*> widgets;
  for (int i = 0; i < 3; ++i)
    widgets.append(harness.startWidget());
  const qint64 oldest = widgets.first()->processId();
  ASSERT_TRUE(eventually([&] {
    return widgets[1]->state() == QProcess::NotRunning &&
           widgets[2]->state() == QProcess::NotRunning;
  }));
  EXPECT_EQ(runningPids(kBuiltIn), QList<qint64>{oldest});
}

TEST_F(HostEndToEnd, LaunchThenRaiseReachesTheModule) {
  launch();
  EXPECT_EQ(harness.host({"send", "raise"}).exitCode, 0);
  EXPECT_TRUE(status(harness).value("raised").toBool());
  EXPECT_EQ(harness.host({"send", "flat"}).exitCode, 0);
  EXPECT_FALSE(status(harness).value("raised").toBool());
}

TEST_F(HostEndToEnd, ModulesWithOtherManifestsIgnoreEachOthersCommands) {
  ASSERT_EQ(harness.host({"new", "alpha"}).exitCode, 0);
  ASSERT_EQ(harness.host({"new", "beta"}).exitCode, 0);
  launch("alpha");
  launch("beta");
  ASSERT_EQ(harness.host({"send", "raise", "alpha"}).exitCode, 0);
  EXPECT_TRUE(status(harness, "alpha").value("raised").toBool());
  EXPECT_FALSE(status(harness, "beta").value("raised").toBool());
  EXPECT_FALSE(status(harness).contains("bundle")) << "the built-in module was never launched";
  const Finished list = harness.host({"list"});
  EXPECT_EQ(list.out.count(QStringLiteral("running")), 2) << list.out.toStdString();
}

TEST_F(HostEndToEnd, EditTogglesOnceWithinItsQuietPeriod) {
  launch();
  post(QStringLiteral("org.pellimo.widget.edit"));
  QThread::msleep(300);
  post(QStringLiteral("org.pellimo.widget.edit"));
  EXPECT_TRUE(eventually([&] { return status(harness).value("raised").toBool(); }));
  QThread::msleep(400);
  EXPECT_TRUE(status(harness).value("raised").toBool()) << "the second edit must be dropped";
  post(QStringLiteral("org.pellimo.widget.edit"));
  EXPECT_TRUE(eventually([&] { return !status(harness).value("raised").toBool(); }));
}

TEST_F(HostEndToEnd, ClearWipesTheSettingsAndTheScriptFile) {
  {
    platform::SettingsStore settings(kBuiltIn);
    settings.setValue(0, QStringLiteral("modeValue"));
    settings.setValue(QStringLiteral("echo hi"), QStringLiteral("scriptValue"));
    settings.setValue(QStringLiteral("{{1, 2}, {300, 200}}"), QStringLiteral("frameMark"));
    ASSERT_TRUE(settings.synchronize());
  }
  launch();
  const QDir scripts(harness.scriptDirectory());
  ASSERT_TRUE(
      eventually([&] { return scripts.entryList({"Pellimo.*.sh"}, QDir::Files).size() == 1; }));
  ASSERT_EQ(harness.host({"send", "clear"}).exitCode, 0);
  EXPECT_TRUE(eventually([&] { return scripts.entryList({"Pellimo.*"}, QDir::Files).isEmpty(); }));
  EXPECT_TRUE(platform::SettingsStore(kBuiltIn).dictionaryRepresentation().isEmpty());
  EXPECT_TRUE(status(harness).value("ready").toBool()) << "the module keeps running";
}

TEST_F(HostEndToEnd, CommandsBeforeRegistrationAreLost) {
  bool announced = false;
  QObject scope;
  platform::DistributedNotificationCenter::defaultCenter().addObserver(
      &scope, QStringLiteral("org.pellimo.widget.hello"), [&] { announced = true; });
  harness.startWidget();
  ASSERT_TRUE(eventually([&] { return announced; }));
  post(QStringLiteral("org.pellimo.widget.raise"));
  ASSERT_TRUE(eventually([&] { return status(harness).value("ready").toBool(); }));
  EXPECT_FALSE(status(harness).value("raised").toBool());
}

TEST_F(HostEndToEnd, SettingsSurviveARunUnchanged) {
  QVariantMap written;
  {
    platform::SettingsStore settings(kBuiltIn);
    settings.setValue(2, QStringLiteral("modeValue"));
    settings.setValue(QStringLiteral("print('é')"), QStringLiteral("scriptValue"));
    settings.setValue(QStringLiteral("a,,b c"), QStringLiteral("args"));
    settings.setValue(7, QStringLiteral("reloadAfter"));
    settings.setFont(ansi::Font{"DejaVu Sans Mono", 11.5, 9, true}, QStringLiteral("codeFont"));
    settings.setColor(ansi::Color::rgb(0.1, 0.2, 1.0 / 3), QStringLiteral("fontColor"));
    settings.setColor(ansi::Color::grey(0.25, 0.5), QStringLiteral("color"));
    settings.setValue(QStringLiteral("{{10, 20}, {300, 200}}"), QStringLiteral("frameMark"));
    ASSERT_TRUE(settings.synchronize());
    written = settings.dictionaryRepresentation();
  }
  launch();
  ASSERT_EQ(harness.host({"send", "kill"}).exitCode, 0);
  platform::SettingsStore reread(kBuiltIn);
  EXPECT_EQ(reread.dictionaryRepresentation(), written);
  EXPECT_EQ(reread.integerForKey(QStringLiteral("reloadAfter")), 7);
}

TEST_F(HostEndToEnd, FloodsAndOddSignaturesLeaveTheModuleAnswering) {
  launch();
  auto bus = QDBusConnection::sessionBus();
  for (int i = 0; i < 10000; ++i) {
    post(i % 2 ? QStringLiteral("org.pellimo.widget.raise")
               : QStringLiteral("org.pellimo.widget.edit"));
  }
  const QList<QVariantList> odd = {
      {},
      {42},
      {QStringLiteral("org.pellimo.widget.flat"), 42},
      {QStringLiteral("org.pellimo.widget.flat"), QVariantMap{{"x", 1}}},
      {QStringLiteral("org.pellimo.widget.flat"), QStringList{"a"}, QStringLiteral("extra")}};
  for (const QVariantList& arguments : odd) {
    auto message = QDBusMessage::createSignal(QString(platform::bus::kNotificationPath),
                                              QString(platform::bus::kNotificationInterface),
                                              QString(platform::bus::kNotificationMember));
    message.setArguments(arguments);
    bus.send(message);
  }
  post(QStringLiteral("org.pellimo.widget.flat"));
  EXPECT_TRUE(eventually([&] { return !status(harness).value("raised").toBool(); }, 30000));
  EXPECT_EQ(harness.host({"send", "raise"}).exitCode, 0);
  EXPECT_TRUE(status(harness).value("raised").toBool());
}

TEST_F(HostEndToEnd, FailuresSayWhyAndExitWithOne) {
  struct Case {
    QStringList args;
    QString says;
  };
  const QList<Case> cases = {
      {{"send", "raise"}, "is not running"},
      {{"send", "jump"}, "unknown command"},
      {{"launch", "nosuchmodule"}, "unknown module"},
      {{"status", "/nonexistent/dir"}, "no module directory"},
      {{"frobnicate"}, "unknown command"},
      {{"new", "../evil"}, "module names"},
  };
  for (const Case& c : cases) {
    const Finished result = harness.host(c.args);
    EXPECT_EQ(result.exitCode, 1) << c.args.join(' ').toStdString();
    EXPECT_TRUE(result.err.startsWith("pellimo: ") && result.err.contains(c.says))
        << result.err.toStdString();
  }
  const Finished help = harness.host({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.contains("Usage: pellimo"));
}

}  // namespace
}  // namespace pellimo::test
