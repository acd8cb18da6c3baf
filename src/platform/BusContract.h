#pragma once

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

/// Held by one starting module at a time while it exports its object and settles which
/// instance stays (StartupTurn.h); outside the module prefix, so it is never listed as one.
inline constexpr QLatin1String kStartupTurnName{"org.pellimo.StartupTurn"};

/// The bus name of the module process `pid`: "org.pellimo.Module.p<pid>".
inline QString moduleServiceName(qint64 pid) {
  return QString(kModuleServicePrefix) + u'p' + QString::number(pid);
}

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
