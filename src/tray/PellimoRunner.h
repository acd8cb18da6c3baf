// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace pellimo::tray {

/// Runs this very `pellimo` as a child for each of the tray's actions, so that the tray keeps
/// every rule and message of the command line; never blocks the event loop.
class PellimoRunner : public QObject {
  Q_OBJECT

 public:
  using Succeeded = std::function<void(const QByteArray& output)>;
  using Failed = std::function<void(const QString& message)>;

  explicit PellimoRunner(QString program, QObject* parent = nullptr);

  /// Runs `pellimo arguments`. A failure goes to `failed`, or, without it, out as `failure`.
  void run(const QStringList& arguments, Succeeded succeeded = {}, Failed failed = {});

 signals:
  /// A command failed; `message` is what it said, without the "pellimo: " prefix.
  void failure(const QString& message);
  /// A command ended, whichever way: what it changed may show now.
  void finished();

 private:
  QString program_;
};

}  // namespace pellimo::tray
