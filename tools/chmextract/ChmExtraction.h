// The pages of a compiled help file written into a folder. Names inside the
// file are hostile: only plain relative names are written, never outside the
// folder, and sizes are capped. Units whose place in the file, or whose
// compression parameters, are inconsistent are never handed to the
// unpacker, which would divide by zero on them.
#pragma once

// The number of files written into folder (made when missing); -1 when the
// file or the folder cannot be used, 0 when it is no compiled help file.
int extractCompiledHelp(const char* folder, const char* path);
