// The regeneration checks of the generated tables need their inputs
// (TENMADO_SHARED_DATA, ../shared/data beside the sources) and python3.
// Without them a check is skipped; built with
// -DTENMADO_REQUIRE_SHARED_DATA=ON (the README's test command) it fails.
#pragma once
#include <gtest/gtest.h>

#ifndef TENMADO_REQUIRE_SHARED_DATA
#define TENMADO_REQUIRE_SHARED_DATA 0
#endif

#define TENMADO_SKIP_WITHOUT(why)                                       \
    do {                                                                \
        if (TENMADO_REQUIRE_SHARED_DATA) GTEST_FAIL() << why;           \
        else GTEST_SKIP() << why;                                       \
    } while (0)
