#pragma once
/// \file
/// \brief The document folders beside the program, and deleting one document file in them.
/// Every name a caller hands in stays one level inside its folder.

#include <filesystem>
#include <string>

namespace quillet {

/// \brief The path of a document filed under a topic: program folder/DOCUMENT/topic/file.
/// Raises error 52 "Bad file name or number" when the topic or the file name is not a plain name
/// (see documentName).
std::filesystem::path documentPath(const std::string& topic, const std::string& fileName);

/// \brief The path of a document file filed under a group: program folder/Report/group/file.
/// Raises like documentPath.
std::filesystem::path reportFilePath(const std::string& group, const std::string& fileName);

/// \brief The name itself when it names one entry inside a folder: not empty, not "." or "..",
/// and without a path separator ('/' or '\\') or a NUL. Raises error 52 otherwise.
const std::string& documentName(const std::string& name);

/// \brief Deletes one file, its name taken literally ('*' and '?' are ordinary characters).
/// Error 53 "File not found" when there is no such file, 76 "Path not found" when its folder is
/// missing, 75 "Path/File access error" when it is a folder or cannot be deleted.
void killFile(const std::filesystem::path& file);

}  // namespace quillet
