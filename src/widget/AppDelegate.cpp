#include "widget/AppDelegate.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTimer>

#include "platform/Bundle.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/InstanceControl.h"
#include "platform/RunningApplications.h"
#include "runner/CodeRunner.h"
#include "widget/Manifest.h"
#include "widget/ViewController.h"

namespace pellimo::widget {

namespace {

AppDelegate* sharedDelegate = nullptr;
constexpr int kScriptStartDelayMs = 500;

}  // namespace

AppDelegate::AppDelegate() {
  sharedDelegate = this;
}

AppDelegate::~AppDelegate() {
  if (sharedDelegate == this) sharedDelegate = nullptr;
}

runner::CodeRunner& AppDelegate::initRunner(qint64 mode, const QString& code,
                                            runner::Canvas* canvas) {
  if (!runner_) runner_ = runner::CodeRunner::initWithLanguage(mode, code, canvas);
  return *runner_;
}

AppDelegate* AppDelegate::shared() {
  return sharedDelegate;
}

bool AppDelegate::applicationWillFinishLaunching() {
  const QString identifier = platform::Bundle::main().bundleIdentifier();
  const qint64 self = QCoreApplication::applicationPid();
  bool quitSelf = false;
  const auto running = platform::runningApplications();
  const auto leaving = platform::instancesToTerminate(running, identifier);
  for (const auto& app : leaving) {
    if (app.processIdentifier == self) {
      quitSelf = true;
    } else {
      app.terminate();
    }
  }
  if (quitSelf) {
    for (const auto& app : running) {
      if (app.bundleIdentifier != identifier || leaving.contains(app)) continue;
      qInfo().noquote() << "pellimo-widget: quitting: instance" << app.processIdentifier << "of"
                        << identifier << "stays";
      break;
    }
  }
  return !quitSelf;
}

void AppDelegate::applicationDidFinishLaunching() {
  const QString hello = readManifest().value(platform::bus::manifest::kHello);
  if (!hello.isEmpty()) {
    platform::DistributedNotificationCenter::defaultCenter().postNotificationName(hello,
                                                                                  std::nullopt);
  }
  QTimer::singleShot(kScriptStartDelayMs, this, [this] {
    if (vc_) vc_->startScript();
  });
}

void AppDelegate::applicationWillTerminate() {
  if (runner_) runner_->shutDown();
}

}  // namespace pellimo::widget
