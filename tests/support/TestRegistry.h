#pragma once
// Each test file registers its Qt Test classes; one main per test program runs them all,
// each in a fresh temporary home (settings store, current directory) with recording doubles.

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace TestRegistry {
using Factory = std::function<std::unique_ptr<QObject>()>;
int add(const char *name, Factory factory);
} // namespace TestRegistry

#define ORVANE_TEST(Class)                                                                          \
    static const int orvaneTestRegistered_##Class =                                                 \
        TestRegistry::add(#Class, [] { return std::unique_ptr<QObject>(new Class); });
