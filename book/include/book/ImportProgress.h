// How far an opening has got, and whether the reader has had enough of it.
// The importers report through this and stop when it says so; the program
// answers with a progress dialog, vltool with lines on stderr. No GUI types
// here: the model is shared by the reader, vltool and the tests.
#pragma once

#include <string>

class ImportProgress {
public:
    static constexpr double kUnknown = -1.0;

    virtual ~ImportProgress() = default;
    // A file starts opening.
    virtual void begin(const std::string& path) = 0;
    // The part of the file done so far (0 to 1, or kUnknown while a helper
    // program works); false once the reader asked to stop. Called often: an
    // answer must be cheap.
    virtual bool update(double done) = 0;
    // The opening is over, finished or stopped.
    virtual void end() = 0;
};
