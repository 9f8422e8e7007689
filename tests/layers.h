#pragma once

// Tests, fuzz targets, test programs and the benchmark name every layer's code unqualified.
namespace profile {}
namespace rules {}
namespace repair {}
namespace uninstall {}

using namespace profile;
using namespace rules;
using namespace repair;
using namespace uninstall;
