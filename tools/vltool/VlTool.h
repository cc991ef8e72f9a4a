// vltool: makes and inspects books without a window.
//
//   vltool convert [--no-index] [--no-bookmark] [--metrics fixed] [--encoding CODE] -o OUT.vl INPUT...
//   vltool dump [--metrics fixed] [--no-index] [--no-bookmark] [--encoding CODE] INPUT...
//   vltool render [...the same...] [--page N] [--one-page] [--size WxH] -o OUT.png INPUT...
//
// Inputs open as the Open command opens them; --encoding then applies an
// Encoding command. Exit 0 on success, 1 with a
// one-line message when nothing was opened or saving failed, 2 for a usage
// error.
#pragma once

#include <ostream>
#include <string>
#include <vector>

int runVlTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
