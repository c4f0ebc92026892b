'''A python3-dbusmock template: a desktop portal with GlobalShortcuts (version
1) on the session bus, for the hot-key tests.

Test hook: org.freedesktop.DBus.Mock.Trigger(shortcut_id) emits Activated and
then Deactivated for the bound session, as a desktop does when the user
presses the shortcut. The calls the program made are in Mock.GetCalls.'''
import time

import dbus
from gi.repository import GLib

BUS_NAME = 'org.freedesktop.portal.Desktop'
MAIN_OBJ = '/org/freedesktop/portal/desktop'
MAIN_IFACE = 'org.freedesktop.portal.GlobalShortcuts'
SYSTEM_BUS = False
MOCK_IFACE = 'org.freedesktop.DBus.Mock'


def load(mock, parameters):
    mock.AddProperties(MAIN_IFACE, {'version': dbus.UInt32(1)})
    mock.session, mock.bound, mock.unanswered = None, [], []


def _path(kind, sender, token):
    return dbus.ObjectPath(f'{MAIN_OBJ}/{kind}/{sender[1:].replace(".", "_")}/{token}')


def _answer_later(mock, sender, options, results):
    # As the portal does: the Request handle now, its Response signal after.
    request = _path('request', sender, options.get('handle_token', 't%d' % time.monotonic_ns()))
    mock.unanswered.append((request, results))
    GLib.idle_add(_answer, mock)
    return request


def _answer(mock):
    # Every Response still owed, in the order of the calls; False: an idle
    # callback runs once.
    while mock.unanswered:
        request, results = mock.unanswered.pop(0)
        mock.EmitSignalDetailed('org.freedesktop.portal.Request', 'Response', 'ua{sv}',
                                [dbus.UInt32(0), results], {'path': request})
    return False


@dbus.service.method(MAIN_IFACE, in_signature='a{sv}', out_signature='o',
                     sender_keyword='sender')
def CreateSession(self, options, sender=None):
    self.session = _path('session', sender, options.get('session_handle_token', 's1'))
    return _answer_later(self, sender, options, {'session_handle': self.session})


@dbus.service.method(MAIN_IFACE, in_signature='oa(sa{sv})sa{sv}', out_signature='o',
                     sender_keyword='sender')
def BindShortcuts(self, session, shortcuts, parent_window, options, sender=None):
    self.bound = shortcuts
    return _answer_later(self, sender, options,
                         {'shortcuts': dbus.Array(shortcuts, signature='(sa{sv})')})


@dbus.service.method(MAIN_IFACE, in_signature='oa{sv}', out_signature='o',
                     sender_keyword='sender')
def ListShortcuts(self, session, options, sender=None):
    return _answer_later(self, sender, options,
                         {'shortcuts': dbus.Array(self.bound, signature='(sa{sv})')})


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def Trigger(self, shortcut_id):
    # A desktop answers the binding before the user can press the shortcut;
    # the idle callback may not have run yet on a busy machine.
    _answer(self)
    stamp = dbus.UInt64(int(time.monotonic() * 1000))
    for signal in ('Activated', 'Deactivated'):
        self.EmitSignal(MAIN_IFACE, signal, 'osta{sv}', [self.session, shortcut_id, stamp, {}])
