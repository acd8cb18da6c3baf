// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <memory>

namespace pellimo::tray {

/// Tells when the session's modules may have changed: a module's bus name came or went, or a
/// module announced itself. A burst of changes makes one `changed`.
class SessionWatch : public QObject {
  Q_OBJECT

 public:
  explicit SessionWatch(QObject* parent = nullptr);

  /// Follows the announcements with these names, in place of those followed so far.
  void followAnnouncements(const QStringList& names);

 signals:
  void changed();

 private slots:
  // Spelt out for QtDBus, which matches a slot by its signature.
  void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

 private:
  QTimer quiet_;
  QStringList followed_;
  /// The context of the announcement observers: replacing it drops them.
  std::unique_ptr<QObject> announcements_;
};

}  // namespace pellimo::tray
