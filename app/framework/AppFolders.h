// Where the program keeps its files.
#pragma once

#include <string>

// Left + "\" + right, the backslash only when left does not already end with one.
std::string JoinPath(const std::string& left, const std::string& right);

// The folder of the running executable without trailing backslash; "." when unknown.
std::string ProgramFolder();

// The user's documents folder as the shell reports it (created if missing); empty when the
// shell gives none.
std::string DocumentsFolder();

// Documents\My Music\Quaverlane, else program folder\Output.
std::string OutputFolderRule(const std::string& documents, const std::string& programFolder);
// Documents\Quaverlane, else program folder\Temp.
std::string CaptureFolderRule(const std::string& documents, const std::string& programFolder);

std::string DefaultOutputFolder();
std::string DefaultCaptureFolder();
// The folder of disc.xml: the default output folder, whatever the user chose as output folder.
std::string DataFolder();
// The project file in the data folder.
std::string ProjectFilePath();
// qvl.log in the default capture folder.
std::string LogFilePath();
