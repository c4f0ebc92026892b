// The waits of the main window's tests. Each ends as soon as what it waits
// for shows; the bound only says how long a loaded machine may take (a
// search, and the word forms' speller behind it) before the test gives up.
// Qt's own bound, 5 s, was once too short beside a busy build.
#pragma once

#include <QTest>

#undef QTRY_COMPARE
#define QTRY_COMPARE(expr, expected) QTRY_COMPARE_WITH_TIMEOUT(expr, expected, 30000)
#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, 30000)
