// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <functional>

#include <QDBusConnection>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QRegularExpression>

#include "ModuleHarness.h"
#include "Processes.h"
#include "platform/Bundle.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/ModuleProxy.h"
#include "platform/PropertyList.h"
#include "platform/RunningApplications.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

void post(const QString& name, const platform::DistributedNotificationCenter::UserInfo& info = {}) {
  platform::DistributedNotificationCenter::defaultCenter().postNotificationName(name, info);
}

/// The session a launched module leads: `pellimo launch` starts it in a session of its own.
pid_t sessionOf(pid_t module) {
  const auto self = liveProcesses([&](const ProcessEntry& entry) { return entry.pid == module; });
  return self.empty() ? 0 : self.front().session;
}

bool alive(pid_t pid) {
  return !liveProcesses([&](const ProcessEntry& entry) { return entry.pid == pid; }).empty();
}

/// What is alive in a launched module's session, the module left out: its scripts and whatever
/// they started, also when that has outlived them.
std::size_t startedIn(pid_t session, pid_t module) {
  return liveProcesses([&](const ProcessEntry& entry) {
           return entry.session == session && entry.pid != module;
         })
      .size();
}

class HostEndToEnd : public ::testing::Test {
 protected:
  /// What a launched module wrote to its log.
  QString moduleLog(const QString& identifier) {
    return QString::fromUtf8(
        fileContents(harness.root() + "/state/pellimo/" + identifier + ".log"));
  }
  void launch(const QString& module = {}) {
    ASSERT_TRUE(exits(module.isEmpty() ? QStringList{"launch"} : QStringList{"launch", module}, 0));
  }
  /// Whether `pellimo` with the arguments exits with `code` and its error output contains `says`,
  /// after "pellimo: " when it failed.
  testing::AssertionResult exits(const QStringList& arguments, int code, const QString& says = {}) {
    const Finished result = harness.host(arguments);
    if (result.exitCode == code && result.err.contains(says) &&
        (code == 0 || result.err.startsWith("pellimo: ")))
      return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "pellimo " << arguments.join(' ').toStdString() << " exited with " << result.exitCode
           << ": " << result.err.toStdString();
  }
  QJsonObject status(const QString& module = QStringLiteral("default")) {
    return statusOf(harness, module);
  }
  bool raisedSoon(const QString& module, bool raised) {
    return eventually([&] { return status(module).value("raised").toBool() == raised; });
  }
  QString moduleDirectory(const QString& name) {
    return harness.root() + "/data/pellimo/modules/" + name;
  }
  /// Makes a module with `pellimo new`: its identifier, or nothing when that failed.
  QString newModule(const QString& name) {
    if (harness.host({"new", name}).exitCode != 0) return {};
    const auto bundle = platform::Bundle::fromDirectory(moduleDirectory(name));
    return bundle ? bundle->bundleIdentifier() : QString();
  }
  /// Serves until the built-in module's canvas passes `check`.
  bool canvasSoon(const std::function<bool(const QString&)>& check, int timeoutMs = 15000) {
    QString canvas;
    const bool shown =
        eventually([&] { return check(canvas = status().value("canvas").toString()); }, timeoutMs);
    if (!shown) ADD_FAILURE() << "the canvas shows: " << canvas.toStdString();
    return shown;
  }
  ModuleHarness harness;
};

TEST_F(HostEndToEnd, ANewModuleIsListedWatchedDrivenAndKilledAndAnotherIgnoresItsCommands) {
  const QString identifier = newModule("alpha");
  ASSERT_FALSE(identifier.isEmpty() || newModule("beta").isEmpty());
  const auto manifest =
      platform::readStringDictionary(moduleDirectory("alpha") + "/maniffeest.plist");
  ASSERT_TRUE(manifest);
  // The manifest as `pellimo new` writes it: each name under the module's own identifier.
  EXPECT_EQ(manifest->size(), 9);
  for (const char* key :
       {"hello", "frame", "edit", "kill", "raise", "flat", "config", "clear", "refresh"})
    EXPECT_EQ(manifest->value(key), identifier + '.' + key);
  const auto listed = [&](const QString& state) {
    const QString line = "\nalpha +" + QRegularExpression::escape(identifier) + "  " + state + '\n';
    return QRegularExpression(line).match(harness.host({"list"}).out).hasMatch();
  };
  EXPECT_TRUE(listed("stopped"));

  QProcess* watch = harness.startHost({"watch", "alpha"});
  QString watched;
  const auto watchShows = [&](const QRegularExpression& line) {
    watched += QString::fromUtf8(watch->readAllStandardOutput());
    return line.match(watched).hasMatch();
  };
  // The watch listens once it shows a frame report posted here.
  ASSERT_TRUE(eventually([&] {
    post(manifest->value(platform::bus::manifest::kFrame),
         QMap<QString, QString>{{platform::bus::kFrameInfoKey, "listening"}});
    return watchShows(QRegularExpression("^frame listening$", QRegularExpression::MultilineOption));
  }));
  launch("alpha");
  const QRegularExpression frame(R"(\{\{-?\d+, -?\d+\}, \{\d+, \d+\}\})");
  EXPECT_TRUE(eventually([&] {
    return watchShows(QRegularExpression("^hello$", QRegularExpression::MultilineOption)) &&
           watchShows(QRegularExpression("^frame " + frame.pattern() + '$',
                                         QRegularExpression::MultilineOption));
  })) << watched.toStdString();
  const QJsonObject shown = status("alpha");
  EXPECT_EQ(shown.value("bundle").toString(), identifier);
  EXPECT_TRUE(shown.value("ready").toBool());
  EXPECT_TRUE(frame.match(shown.value("frame").toString()).hasMatch());
  EXPECT_TRUE(listed(R"(running \(pid \d+\))"));

  // A status question reaches a module after every command sent before it.
  launch("beta");
  EXPECT_EQ(harness.host({"send", "raise", "alpha"}).exitCode, 0);
  EXPECT_TRUE(raisedSoon("alpha", true));
  EXPECT_FALSE(status("beta").value("raised").toBool()) << "alpha's raise reached beta";
  ASSERT_EQ(harness.host({"send", "flat", "beta"}).exitCode, 0);
  EXPECT_TRUE(status("alpha").value("raised").toBool()) << "beta's flat reached alpha";
  EXPECT_EQ(harness.host({"send", "flat", "alpha"}).exitCode, 0);
  EXPECT_TRUE(raisedSoon("alpha", false));
  EXPECT_TRUE(exits({"send", "kill", "alpha"}, 0));
  EXPECT_TRUE(runningPids(identifier).isEmpty());
  EXPECT_TRUE(exits({"send", "raise", "alpha"}, 1, identifier + " is not running"));
  EXPECT_TRUE(runningPids(kBuiltIn).isEmpty()) << "the built-in module was never launched";
}

TEST_F(HostEndToEnd, AnOlderInstanceComingOntoTheBusLaterStaysAndTheNewerOneQuits) {
  // The older one stops before it becomes the module; exec keeps its start time.
  QProcess older;
  older.setProcessEnvironment(harness.environment());
  older.start("sh", {"-c", "kill -STOP $$; exec \"$0\"", PELLIMO_WIDGET});
  ASSERT_TRUE(older.waitForStarted());
  const pid_t olderPid = pid_t(older.processId());
  ASSERT_TRUE(eventually([&] { return processState(olderPid) == 'T'; }));
  QProcess* newer = harness.startWidget();
  ASSERT_TRUE(eventually([&] { return status().value("ready").toBool(); }));
  ASSERT_EQ(runningPids(kBuiltIn), QList<qint64>{newer->processId()});

  ::kill(olderPid, SIGCONT);
  ASSERT_TRUE(eventually([&] { return newer->state() == QProcess::NotRunning; }));
  EXPECT_TRUE(newer->readAllStandardError().contains(
      QStringLiteral("quitting: instance %1 of %2 stays").arg(olderPid).arg(kBuiltIn).toUtf8()));
  EXPECT_EQ(runningPids(kBuiltIn), QList<qint64>{olderPid});
}

TEST_F(HostEndToEnd, AModuleThatDoesNotAnswerIsNotRespondingAndKeepsItsPlace) {
  launch();
  const qint64 pid = runningPids(kBuiltIn).value(0);
  ASSERT_EQ(::kill(pid_t(pid), SIGSTOP), 0);
  const QString says = QStringLiteral("%1 is not responding (pid %2)").arg(kBuiltIn).arg(pid);
  const struct {
    QStringList args;
    QString says;
  } cases[] = {
      {{"status"}, says},
      {{"send", "raise"}, says},
      {{"send", "refresh"}, says},
      {{"launch"}, says + "; not starting another"},
  };
  for (const auto& c : cases) {
    QElapsedTimer clock;
    clock.start();
    const Finished result = harness.host(c.args);
    EXPECT_LT(clock.elapsed(), 4000) << c.args.join(' ').toStdString();
    EXPECT_EQ(result.exitCode, 1) << c.args.join(' ').toStdString();
    EXPECT_EQ(result.err, "pellimo: " + c.says + '\n');
  }
  EXPECT_TRUE(
      harness.host({"list"}).out.contains(QStringLiteral("not responding (pid %1)").arg(pid)));
  // A starting instance counts it as well.
  QProcess* second = harness.startWidget();
  ASSERT_TRUE(second->waitForFinished(10000));
  EXPECT_TRUE(second->readAllStandardError().contains(
      QStringLiteral("quitting: instance %1 of %2 stays").arg(pid).arg(kBuiltIn).toUtf8()));
  EXPECT_EQ(runningPids(kBuiltIn), QList<qint64>{pid});

  ::kill(pid_t(pid), SIGCONT);
  EXPECT_EQ(harness.host({"status"}).exitCode, 0);
}

TEST_F(HostEndToEnd, RefreshRunsTheScriptAtOnceAlsoForAManifestWithoutIt) {
  const QString older = newModule("older");
  const QString file = moduleDirectory("older") + "/maniffeest.plist";
  auto manifest = platform::readStringDictionary(file);
  ASSERT_TRUE(manifest && !older.isEmpty());
  manifest->remove(platform::bus::manifest::kRefresh);
  ASSERT_TRUE(platform::writeStringDictionary(file, *manifest));
  // Each run counts itself; the reload interval is far off, so only a refresh runs it again.
  for (const auto& [module, identifier] :
       {std::pair{QStringLiteral("default"), kBuiltIn}, {"older", older}}) {
    const QString log = harness.root() + '/' + identifier + ".runs";
    ASSERT_TRUE(storeSettings(
        {{platform::keys::kScriptValue, QStringLiteral("echo run >> '%1'; wc -l < '%1'").arg(log)},
         {platform::keys::kReloadAfter, 3600}},
        identifier));
    launch(module);
    const auto shows = [&](const char* text) {
      return eventually([&] { return status(module).value("canvas").toString() == text; });
    };
    ASSERT_TRUE(shows("1\n")) << module.toStdString();
    ASSERT_EQ(harness.host({"send", "refresh", module}).exitCode, 0) << module.toStdString();
    EXPECT_TRUE(shows("2\n")) << module.toStdString();
  }
}

TEST_F(HostEndToEnd, CommandsBeforeRegistrationAreLostAndAFloodLeavesTheModuleAnswering) {
  bool announced = false;
  QObject scope;
  platform::DistributedNotificationCenter::defaultCenter().addObserver(&scope, kBuiltIn + ".hello",
                                                                       [&] { announced = true; });
  harness.startWidget();
  ASSERT_TRUE(eventually([&] { return announced; }));
  post(kBuiltIn + ".raise");
  ASSERT_TRUE(eventually([&] { return status().value("ready").toBool(); }));
  EXPECT_FALSE(status().value("raised").toBool());

  for (int i = 0; i < 10000; ++i)
    post(kBuiltIn + (i % 2 ? ".raise" : ".edit"));
  post(kBuiltIn + ".flat");
  // A call on the same connection reaches the module after everything posted before it.
  ModuleProxy module(platform::bus::moduleServiceName(kBuiltIn, runningPids(kBuiltIn).value(0)),
                     platform::bus::kModulePath, QDBusConnection::sessionBus());
  module.setTimeout(30000);
  EXPECT_FALSE(module.raised());
  EXPECT_FALSE(module.lastError().isValid()) << module.lastError().message().toStdString();
  EXPECT_EQ(harness.host({"send", "raise"}).exitCode, 0);
  EXPECT_TRUE(raisedSoon("default", true));
}

TEST_F(HostEndToEnd, ASecondLaunchSaysItRunsClearWipesTheSettingsAndScriptAndAQuitNamesWhoAsked) {
  ASSERT_TRUE(
      storeSettings({{platform::keys::kModeValue, 0}, {platform::keys::kScriptValue, "echo hi"}}));
  launch();
  const Finished again = harness.host({"launch"});
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_TRUE(again.out.contains("already running")) << again.out.toStdString();
  const QDir scripts(harness.scriptDirectory());
  ASSERT_TRUE(
      eventually([&] { return scripts.entryList({"Pellimo.*.sh"}, QDir::Files).size() == 1; }));
  ASSERT_EQ(harness.host({"send", "clear"}).exitCode, 0);
  EXPECT_TRUE(eventually([&] { return scripts.entryList({"Pellimo.*"}, QDir::Files).isEmpty(); }));
  EXPECT_TRUE(platform::SettingsStore(kBuiltIn).dictionaryRepresentation().isEmpty());
  EXPECT_TRUE(status().value("ready").toBool()) << "the module keeps running";
  for (const auto& app : platform::runningApplications())
    app.terminate();
  ASSERT_TRUE(eventually([&] { return runningPids(kBuiltIn).isEmpty(); }));
  EXPECT_TRUE(moduleLog(kBuiltIn).contains("quitting: asked to by " +
                                           QDBusConnection::sessionBus().baseService()));
}

TEST_F(HostEndToEnd, ReloadsShowInTheStatusAndKeepGoingAfterClear) {
  const QString runs = harness.root() + "/runs";
  ASSERT_TRUE(storeSettings({{platform::keys::kReloadAfter, 1},
                             {platform::keys::kScriptValue,
                              QStringLiteral("echo run >> '%1'; wc -l < '%1'").arg(runs)}}));
  launch();
  ASSERT_TRUE(canvasSoon([](const QString& canvas) { return canvas.trimmed().toInt() >= 2; }));
  const QJsonObject shown = status();
  EXPECT_FALSE(shown.value("nextReload").toString().isEmpty());
  EXPECT_EQ(shown.value("lastRun").toObject().value("exitStatus").toInt(-1), 0);

  ASSERT_EQ(harness.host({"send", "clear"}).exitCode, 0);
  const int cleared = status().value("canvas").toString().trimmed().toInt();
  canvasSoon([&](const QString& canvas) { return canvas.trimmed().toInt() >= cleared + 2; });
}

TEST_F(HostEndToEnd, WithoutAUsableRuntimeDirectoryTheModuleShowsErrorOutputAndLogsPrivately) {
  // Qt makes a missing runtime directory itself; a file in its place nothing mends.
  QFile file(harness.root() + "/not-a-directory");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  QProcessEnvironment environment = harness.environment();
  environment.insert("XDG_RUNTIME_DIR", file.fileName());
  environment.insert("TMPDIR", harness.root() + "/home");
  harness.setEnvironment(environment);
  // A log and its folder readable by all, as earlier versions left them.
  const QString state = harness.root() + "/state/pellimo";
  const QString log = state + '/' + kBuiltIn + ".log";
  ASSERT_TRUE(QDir().mkpath(state) && QFile(log).open(QIODevice::WriteOnly));
  ASSERT_TRUE(QFile::setPermissions(state, QFile::Permissions(0x7755)) &&
              QFile::setPermissions(log, QFile::Permissions(0x6644)));
  ASSERT_TRUE(storeSettings({{platform::keys::kScriptValue, "echo shown >&2; exit 1"}}));
  launch();
  canvasSoon([](const QString& canvas) { return canvas == "Error in Script:\n\nshown\n"; });
  EXPECT_EQ(status().value("lastRun").toObject().value("stoppedFor").toString(), "error output");
  EXPECT_TRUE(moduleLog(kBuiltIn).contains("cannot keep scripts in " + file.fileName()))
      << moduleLog(kBuiltIn).toStdString();
  EXPECT_EQ(fileMode(log), 0600u);
  EXPECT_EQ(fileMode(state), 0700u);
}

TEST_F(HostEndToEnd, TheEndOfItsSessionQuitsTheModuleSayingWhyAndEndsItsScript) {
  // The session's bus, then its display, started here for the module and taken away.
  const struct {
    QString program;
    QStringList arguments;
    const char* variable;
    const char* prefix;
    const char* says;
  } endings[] = {
      {"dbus-daemon",
       {"--session", "--nofork", "--print-address=1"},
       "DBUS_SESSION_BUS_ADDRESS",
       "",
       "quitting: the session bus is gone"},
      {"Xvfb",
       {"-displayfd", "1", "-nolisten", "tcp"},
       "DISPLAY",
       ":",
       "quitting: the display is gone"},
  };
  const QString pidFile = harness.root() + "/sleeper";
  ASSERT_TRUE(storeSettings({{platform::keys::kScriptValue,
                              QStringLiteral("sleep 300 & echo $! > '%1'; wait").arg(pidFile)}}));
  const QProcessEnvironment usual = harness.environment();
  for (const auto& ending : endings) {
    QFile::remove(pidFile);
    QProcess session;
    session.start(ending.program, ending.arguments);
    ASSERT_TRUE(session.waitForReadyRead(10000)) << ending.program.toStdString();
    QProcessEnvironment environment = usual;
    environment.insert(ending.variable,
                       ending.prefix + QString::fromUtf8(session.readLine().trimmed()));
    if (ending.program == "Xvfb") environment.insert("QT_QPA_PLATFORM", "xcb");
    harness.setEnvironment(environment);
    QProcess* module = harness.startWidget();
    pid_t sleeper = 0;
    ASSERT_TRUE(eventually([&] { return (sleeper = fileContents(pidFile).trimmed().toInt()) > 0; }))
        << ending.says;
    session.terminate();
    ASSERT_TRUE(session.waitForFinished(10000));
    EXPECT_TRUE(eventually([&] { return module->state() == QProcess::NotRunning; })) << ending.says;
    EXPECT_TRUE(module->readAllStandardError().contains(ending.says)) << ending.says;
    EXPECT_TRUE(eventually([&] { return !alive(sleeper); })) << ending.says;
  }
}

TEST_F(HostEndToEnd, AModuleWhoseIdentifierLeavesItsFolderIsRefusedAndListedAsBroken) {
  // From the settings and log folders, this identifier names files in the harness's root.
  const QString directory = moduleDirectory("evil");
  const QString identity = directory + "/module.plist";
  ASSERT_TRUE(QDir().mkpath(directory));
  ASSERT_TRUE(platform::writeStringDictionary(identity, {{"identifier", "../../evil"}}));
  const QString settings = harness.root() + "/evil.conf";
  ASSERT_TRUE(writeFile(settings, "[General]\nkept=1\n"));
  const QString refusal = identity + ": identifier \"../../evil\" is not a reverse-DNS name";
  for (const QStringList& args : {QStringList{"launch", "evil"}, {"send", "clear", directory}})
    EXPECT_TRUE(exits(args, 1, refusal));
  QProcess* widget = harness.startWidget({directory});
  ASSERT_TRUE(widget->waitForFinished(10000));
  EXPECT_EQ(widget->exitCode(), 1);
  EXPECT_TRUE(widget->readAllStandardError().contains(refusal.toUtf8()));
  EXPECT_FALSE(QFileInfo::exists(harness.root() + "/evil.log"));
  EXPECT_EQ(fileContents(settings), "[General]\nkept=1\n");
  const Finished list = harness.host({"list"});
  EXPECT_TRUE(list.out.contains(
      QRegularExpression("\nevil +-  broken: " + QRegularExpression::escape(refusal))))
      << list.out.toStdString();
}

TEST_F(HostEndToEnd, AModuleWithoutAUsableManifestLaunchesWithAWarningIsListedAndKillStopsIt) {
  const struct {
    const char* name;
    QByteArray manifest;  // empty: none at all
    const char* problem;
  } modules[] = {{"missing", {}, "it has no maniffeest.plist"},
                 {"garbled", "<plist><dict>", "maniffeest.plist is not a readable property list"}};
  for (const auto& module : modules) {
    const QString identifier = newModule(module.name);
    ASSERT_FALSE(identifier.isEmpty());
    const QString manifest = moduleDirectory(module.name) + "/maniffeest.plist";
    ASSERT_TRUE(module.manifest.isEmpty() ? QFile::remove(manifest)
                                          : writeFile(manifest, module.manifest));

    const Finished launched = harness.host({"launch", module.name});
    ASSERT_EQ(launched.exitCode, 0) << launched.err.toStdString();
    EXPECT_TRUE(launched.err.contains("warning: " + identifier + ": "))
        << launched.err.toStdString();
    EXPECT_TRUE(launched.err.contains(module.problem)) << launched.err.toStdString();
    const Finished list = harness.host({"list"});
    EXPECT_TRUE(QRegularExpression('\n' + QString(module.name) + " +" +
                                   QRegularExpression::escape(identifier) +
                                   R"(  running \(pid \d+\); broken: .*)" + module.problem)
                    .match(list.out)
                    .hasMatch())
        << list.out.toStdString();
    EXPECT_TRUE(exits({"send", "raise", module.name}, 1, identifier + " cannot take \"raise\": "));
    EXPECT_TRUE(exits({"send", "kill", module.name}, 0));
    EXPECT_TRUE(runningPids(identifier).isEmpty());
  }
}

TEST_F(HostEndToEnd, ABareNameIsAModuleEvenBesideADirectoryOfThatNameAndAPathNeedsASlash) {
  const QString clock = newModule("clock");
  ASSERT_FALSE(clock.isEmpty());
  const QString here = harness.root() + "/here";
  ASSERT_TRUE(QDir().mkpath(here + "/clock") && QDir().mkpath(here + "/elsewhere"));
  ASSERT_TRUE(platform::writeStringDictionary(here + "/clock/module.plist",
                                              {{"identifier", "org.example.local"}}));
  harness.setWorkingDirectory(here);
  // Nothing runs, so each answer names the module it found.
  const struct {
    QString argument;
    QString says;
  } cases[] = {
      {"clock", clock + " is not running"},
      {"./clock", "org.example.local is not running"},
      {"clock/", "org.example.local is not running"},
      {here + "/clock", "org.example.local is not running"},
      {"elsewhere",
       "unknown module \"elsewhere\" (see `pellimo list`); for the directory here, say "
       "./elsewhere"},
      {"..", "unknown module \"..\""},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(exits({"status", c.argument}, 1, c.says));
}

TEST_F(HostEndToEnd, SignalsAndTheKillCommandQuitTheModuleSayingSoAndEndWhatItStarted) {
  // The script leaves two sleepers behind, one of them deaf to SIGTERM, and ends.
  ASSERT_TRUE(storeSettings({{platform::keys::kScriptValue,
                              "sleep 299 & (trap '' TERM; exec sleep 299) & echo spawned"}}));
  const QDir scripts(harness.scriptDirectory());
  const struct {
    int signal;  // 0: the host's "kill"
    const char* why;
  } quits[] = {
      {SIGTERM, "signal SIGTERM"},
      {SIGINT, "signal SIGINT"},
      {SIGHUP, "signal SIGHUP"},
      {0, "the \"kill\" command"},
  };
  for (const auto& quit : quits) {
    launch();
    const auto module = static_cast<pid_t>(runningPids(kBuiltIn).value(0));
    const pid_t session = sessionOf(module);
    ASSERT_GT(session, 0) << quit.why;
    ASSERT_NE(session, ::getsid(0)) << quit.why;
    canvasSoon([](const QString& canvas) { return canvas == "spawned\n"; });
    ASSERT_TRUE(eventually([&] { return startedIn(session, module) == 2; })) << quit.why;
    EXPECT_EQ(scripts.entryList(QDir::Files).size(), 1) << quit.why;
    if (quit.signal)
      ASSERT_EQ(::kill(module, quit.signal), 0) << quit.why;
    else
      ASSERT_EQ(harness.host({"send", "kill"}).exitCode, 0);
    EXPECT_TRUE(eventually([&] { return !alive(module); })) << quit.why;
    EXPECT_TRUE(eventually([&] { return startedIn(session, module) == 0; })) << quit.why;
    EXPECT_TRUE(scripts.entryList(QDir::Files).isEmpty()) << quit.why;
    const QString line = QStringLiteral("pellimo-widget: quitting: %1\n").arg(quit.why);
    EXPECT_EQ(moduleLog(kBuiltIn).count(line), 1) << moduleLog(kBuiltIn).toStdString();
  }
}

TEST_F(HostEndToEnd, FailuresSayWhyAndExitWithOneAndUsageErrorsWithTwo) {
  const struct {
    QStringList args;
    int exitCode;
    const char* says;
  } cases[] = {
      {{"send", "raise"}, 1, "org.pellimo.widget is not running; start it with `pellimo launch`"},
      {{"send", "jump"},
       2,
       "unknown command \"jump\"; one of edit, kill, raise, flat, config, clear"},
      {{"launch", "nosuchmodule"}, 1, "unknown module"},
      {{"status", "/nonexistent/dir"}, 1, "no module directory"},
      {{"new", "../evil"}, 1, "module names"},
      {{"new", "default"}, 1, "\"default\" names the built-in module; choose another name"},
      {{"remove", "default", "--yes"}, 1, "the built-in module cannot be removed"},
      {{}, 2, "no command given (see `pellimo --help`)"},
      {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
      {{"new"}, 2, "`new` needs a NAME (see `pellimo help new`)"},
      {{"watch", "--count", "-1"}, 2, "--count needs a whole number"},
      {{"status", "--jsn"}, 2, "`status` has no option --jsn"},
      {{"list", "extra"}, 2, "too many arguments for `list`: extra"},
      {{"launch", "--all", "--autostart"}, 2, "one of them"},
      {{"autostart", "maybe"}, 2, "`autostart` needs on or off"},
      {{"remove", "./clock", "--yes"}, 2, "./clock is a module directory"},
      {{"help", "frob"}, 2, "no command \"frob\""},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(exits(c.args, c.exitCode, c.says));
  const QString general = "Usage: pellimo COMMAND", send = "Usage: pellimo send COMMAND [MODULE]\n";
  for (const auto& [args, start, part] :
       {std::tuple{QStringList{"--help"}, general, "\nExit status:"},
        {{"help"}, general, "\nExit status:"},
        {{"help", "send"}, send, "refresh  run the script now"},
        {{"send", "--help"}, send, "refresh  run the script now"},
        {{"send", "-h"}, send, "refresh  run the script now"}}) {
    const Finished help = harness.host(args);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(start) && help.out.contains(part)) << help.out.toStdString();
  }
}

TEST_F(HostEndToEnd, AutostartMarksSurviveClearShowAndStartTheirModulesThroughOneEntry) {
  for (const char* name : {"clock", "gone"})
    ASSERT_EQ(harness.host({"new", name}).exitCode, 0);
  const QString marks = harness.root() + "/config/pellimo/autostart.list";
  const QString entry = harness.root() + "/config/autostart/org.pellimo.Pellimo.desktop";
  // A `pellimo` in a folder whose name needs quoting writes itself into the entry, quoted.
  const QString folder = harness.root() + "/pre fix $HOME \"a\\b\" 100%";
  ASSERT_TRUE(QDir().mkpath(folder) && QFile::copy(PELLIMO_HOST, folder + "/pellimo"));
  QProcess moved;
  moved.setProcessEnvironment(harness.environment());
  moved.start(folder + "/pellimo", {"autostart", "on", "clock"});
  ASSERT_TRUE(moved.waitForFinished(10000) && moved.exitCode() == 0)
      << moved.readAllStandardError().toStdString();
  const QString written = QString::fromUtf8(fileContents(entry));
  EXPECT_TRUE(written.contains("\nExec=\"" + harness.root() +
                               R"(/pre fix \\$HOME \\"a\\\\b\\" 100%%/pellimo" launch --autostart)"
                               "\n"))
      << written.toStdString();
  EXPECT_TRUE(written.startsWith("[Desktop Entry]\nType=Application\n"));
  EXPECT_EQ(fileMode(marks), 0600u);

  for (const QStringList& args : {QStringList{"autostart", "on"}, {"autostart", "on", "gone"}})
    ASSERT_EQ(harness.host(args).exitCode, 0) << args.join(' ').toStdString();
  ASSERT_TRUE(QDir(moduleDirectory("gone")).removeRecursively());
  EXPECT_TRUE(exits({"launch", "--autostart"}, 1, "skipping gone: unknown module \"gone\""));
  EXPECT_TRUE(status().value("ready").toBool());
  EXPECT_TRUE(status("clock").value("autostart").toBool());
  EXPECT_TRUE(QRegularExpression(R"(\nclock +\S+  running \(pid \d+\); starts at login\n)")
                  .match(harness.host({"list"}).out)
                  .hasMatch());
  ASSERT_EQ(harness.host({"send", "clear", "clock"}).exitCode, 0);
  EXPECT_TRUE(status("clock").value("autostart").toBool()) << "clear took the mark away";

  for (const QStringList& args :
       {QStringList{"autostart", "off", "clock"}, {"autostart", "off", "gone"}}) {
    ASSERT_EQ(harness.host(args).exitCode, 0) << args.join(' ').toStdString();
    EXPECT_TRUE(QFileInfo::exists(entry)) << "the built-in module is still marked";
  }
  EXPECT_FALSE(status("clock").value("autostart").toBool());
  ASSERT_EQ(harness.host({"autostart", "off"}).exitCode, 0);
  EXPECT_FALSE(QFileInfo::exists(entry));
  EXPECT_FALSE(QFileInfo::exists(marks));

  // --all starts what is not running yet, with the built-in module among them.
  ASSERT_EQ(harness.host({"new", "other"}).exitCode, 0);
  EXPECT_TRUE(exits({"launch", "--all"}, 0));
  EXPECT_TRUE(status("other").value("ready").toBool());
  EXPECT_EQ(harness.host({"list", "--names"}).out, "default\nclock\nother\n");
}

TEST_F(HostEndToEnd, RemoveSaysWhatGoesAsksAndLeavesNoFileOfTheModule) {
  const auto files = [&] {
    QStringList found;
    for (const char* folder : {"/config", "/data", "/state"}) {
      QDirIterator it(harness.root() + folder, QDir::Files | QDir::Hidden,
                      QDirIterator::Subdirectories);
      while (it.hasNext())
        found.append(it.next());
    }
    found.sort();
    return found;
  };
  ASSERT_EQ(harness.host({"new", "kept"}).exitCode, 0);
  ASSERT_EQ(harness.host({"autostart", "on", "kept"}).exitCode, 0);
  const QStringList before = files();
  const QString identifier = newModule("clock");
  ASSERT_FALSE(identifier.isEmpty());
  ASSERT_TRUE(storeSettings({{platform::keys::kScriptValue, "echo hi"}}, identifier));
  launch("clock");
  ASSERT_EQ(harness.host({"autostart", "on", "clock"}).exitCode, 0);
  const qint64 pid = runningPids(identifier).value(0);

  // Without a terminal to ask on, nothing goes.
  const Finished asked = harness.host({"remove", "clock"});
  EXPECT_EQ(asked.exitCode, 2);
  EXPECT_TRUE(asked.err.contains("nothing removed: there is no terminal to confirm on; add --yes"))
      << asked.err.toStdString();
  for (const QString& line :
       {QStringLiteral("  quit it (pid %1)").arg(pid), "  delete " + moduleDirectory("clock") + '/',
        "  delete " + harness.root() + "/config/pellimo/" + identifier + ".conf",
        "  delete " + harness.root() + "/state/pellimo/" + identifier + ".log",
        QStringLiteral("  take away its mark to start at login\n")})
    EXPECT_TRUE(asked.out.contains(line)) << asked.out.toStdString();
  EXPECT_EQ(runningPids(identifier), QList<qint64>{pid});
  EXPECT_GT(files().size(), before.size() + 2);

  EXPECT_TRUE(exits({"remove", "clock", "--yes"}, 0));
  EXPECT_FALSE(alive(pid_t(pid)));
  EXPECT_EQ(files(), before);
  EXPECT_TRUE(exits({"launch", "clock"}, 1));
}

}  // namespace
}  // namespace pellimo::test
