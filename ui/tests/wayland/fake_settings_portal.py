"""dbusmock template: the desktop portal's Settings interface, answering
org.freedesktop.appearance color-scheme (parameter "scheme": 1 prefer dark,
2 prefer light, 0 none). Change it while it runs with
    gdbus call --session -d org.freedesktop.portal.Desktop \
        -o /org/freedesktop/portal/desktop -m org.freedesktop.DBus.Mock.SetScheme 2
which also sends SettingChanged."""
import dbus

BUS_NAME = "org.freedesktop.portal.Desktop"
MAIN_OBJ = "/org/freedesktop/portal/desktop"
MAIN_IFACE = "org.freedesktop.portal.Settings"
SYSTEM_BUS = False
MOCK_IFACE = "org.freedesktop.DBus.Mock"


def load(mock, parameters):
    mock.scheme = int(parameters.get("scheme", 1))
    mock.AddProperty(MAIN_IFACE, "version", dbus.UInt32(2))


def _value(self, level):
    return dbus.UInt32(self.scheme, variant_level=level)


@dbus.service.method(MAIN_IFACE, in_signature="ss", out_signature="v")
def ReadOne(self, namespace, key):
    if (namespace, key) == ("org.freedesktop.appearance", "color-scheme"):
        return _value(self, 1)
    raise dbus.exceptions.DBusException("no such setting",
                                        name="org.freedesktop.portal.Error.NotFound")


@dbus.service.method(MAIN_IFACE, in_signature="ss", out_signature="v")
def Read(self, namespace, key):
    if (namespace, key) == ("org.freedesktop.appearance", "color-scheme"):
        return _value(self, 2)
    raise dbus.exceptions.DBusException("no such setting",
                                        name="org.freedesktop.portal.Error.NotFound")


@dbus.service.method(MOCK_IFACE, in_signature="u", out_signature="")
def SetScheme(self, scheme):
    self.scheme = int(scheme)
    self.EmitSignal(MAIN_IFACE, "SettingChanged", "ssv",
                    ["org.freedesktop.appearance", "color-scheme", _value(self, 1)])
