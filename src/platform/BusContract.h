#pragma once

#include <QLatin1String>
#include <QString>

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

/// The bus name of the module process `pid`: "org.pellimo.Module.p<pid>".
inline QString moduleServiceName(qint64 pid) {
  return QString(kModuleServicePrefix) + u'p' + QString::number(pid);
}

}  // namespace pellimo::platform::bus
