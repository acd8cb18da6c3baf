// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/AppDelegate.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTimer>

#include <malloc.h>

#include "platform/Bundle.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/InstanceControl.h"
#include "runner/CodeRunner.h"
#include "widget/Manifest.h"
#include "widget/ViewController.h"

namespace pellimo::widget {

namespace {

AppDelegate* sharedDelegate = nullptr;
constexpr int kScriptStartDelayMs = 500;
// How long after the first run has ended start-up is taken to be over.
constexpr int kStartUpOverMs = 1000;

}  // namespace

AppDelegate::AppDelegate() {
  sharedDelegate = this;
}

AppDelegate::~AppDelegate() {
  if (sharedDelegate == this) sharedDelegate = nullptr;
}

runner::CodeRunner& AppDelegate::initRunner(qint64 mode, const QString& code,
                                            runner::Canvas* canvas) {
  if (runner_) return *runner_;
  runner_ = runner::CodeRunner::initWithLanguage(mode, code, canvas);
  // Start-up frees much of what it allocated (settings, the bus's and the window's set-up, the
  // first layout); the allocator keeps such memory for later unless asked to give it back.
  connect(
      runner_.get(), &runner::CodeRunner::runFinished, this,
      [] { QTimer::singleShot(kStartUpOverMs, [] { ::malloc_trim(0); }); },
      Qt::SingleShotConnection);
  return *runner_;
}

AppDelegate* AppDelegate::shared() {
  return sharedDelegate;
}

bool AppDelegate::applicationWillFinishLaunching() {
  const QString identifier = platform::Bundle::main().bundleIdentifier();
  instances_ = std::make_unique<platform::InstanceControl>(identifier);
  const auto sayWhoStays = [identifier](const platform::RunningApplication& older) {
    qInfo().noquote() << "pellimo-widget: quitting: instance" << older.processIdentifier << "of"
                      << identifier << "stays";
  };
  if (auto older = instances_->olderInstance()) {
    sayWhoStays(*older);
    return false;
  }
  connect(instances_.get(), &platform::InstanceControl::olderInstanceAppeared, this,
          [sayWhoStays](const platform::RunningApplication& older) {
            sayWhoStays(older);
            QCoreApplication::quit();
          });
  return true;
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
