// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCryptographicHash>
#include <QLatin1String>
#include <QString>
#include <array>

/// The session-bus contract between widget modules and the host, named in one place. The module
/// object's interface itself is dbus/org.pellimo.Module.xml.
namespace pellimo::platform::bus {

/// Distributed notifications: a signal whose arguments are the name (s), then, only when there
/// is user information, the dictionary (a{ss}).
inline constexpr QLatin1String kNotificationPath{"/org/pellimo/DistributedNotificationCenter"};
inline constexpr QLatin1String kNotificationInterface{"org.pellimo.DistributedNotificationCenter"};
inline constexpr QLatin1String kNotificationMember{"Notification"};

/// The object each running module exports.
inline constexpr QLatin1String kModulePath{"/org/pellimo/Module"};
inline constexpr QLatin1String kModuleInterface{"org.pellimo.Module"};
/// Each module process owns one name under this prefix; listing the names lists the modules.
inline constexpr QLatin1String kModuleServicePrefix{"org.pellimo.Module."};

/// The start of the bus names of every instance of the module `bundleIdentifier`:
/// "org.pellimo.Module.i<SHA-1 of the identifier in hex>.". A name says which module holds it,
/// so that a module that does not answer is still known for what it is; the digest keeps any
/// identifier within the characters and length a bus name allows.
inline QString moduleServicePrefix(const QString& bundleIdentifier) {
  const QByteArray digest =
      QCryptographicHash::hash(bundleIdentifier.toUtf8(), QCryptographicHash::Sha1).toHex();
  return QString(kModuleServicePrefix) + u'i' + QLatin1String(digest) + u'.';
}

/// The bus name of the process `pid` of the module `bundleIdentifier`: its prefix, then "p<pid>".
inline QString moduleServiceName(const QString& bundleIdentifier, qint64 pid) {
  return moduleServicePrefix(bundleIdentifier) + u'p' + QString::number(pid);
}

/// Owned by the one tray icon of the session (`pellimo tray`).
inline constexpr QLatin1String kTrayService{"org.pellimo.Tray"};

/// The keys of a module's manifest, "maniffeest.plist": each names the distributed
/// notification that carries one message between the module and the host.
namespace manifest {
/// Posted by a module once it has started.
inline constexpr QLatin1String kHello{"hello"};
/// Posted by a module with its window's frame after a settled move.
inline constexpr QLatin1String kFrame{"frame"};
/// The host's commands to a module.
inline constexpr QLatin1String kEdit{"edit"};
inline constexpr QLatin1String kKill{"kill"};
inline constexpr QLatin1String kRaise{"raise"};
inline constexpr QLatin1String kFlat{"flat"};
inline constexpr QLatin1String kConfig{"config"};
inline constexpr QLatin1String kClear{"clear"};
/// Runs the script at once. Manifests made before it lack it: the host then calls the module
/// object's `Refresh` instead.
inline constexpr QLatin1String kRefresh{"refresh"};

inline constexpr std::array<QLatin1String, 7> kCommands{kEdit,   kKill,  kRaise,  kFlat,
                                                        kConfig, kClear, kRefresh};
/// The keys every manifest names; new manifests name `kRefresh` too.
inline constexpr std::array<QLatin1String, 8> kKeys{kHello, kFrame, kEdit,   kKill,
                                                    kRaise, kFlat,  kConfig, kClear};
}  // namespace manifest

/// The user-information key of the frame report: the frame text, `{{x, y}, {w, h}}`.
inline constexpr QLatin1String kFrameInfoKey{"frame"};

}  // namespace pellimo::platform::bus
