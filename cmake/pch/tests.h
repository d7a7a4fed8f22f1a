// Headers precompiled once for every test program and benchmark.
#pragma once

#include "widgets.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
