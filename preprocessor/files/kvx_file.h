#pragma once

#include "common/outcome.h"
#include "platform/message_box.h"
#include "preprocessor/model/model.h"

#include <iosfwd>
#include <string>

namespace shellfem::preprocessor {

using platform::kWarningCaption;
inline const char* const kKvxReadError = "单元信息文件读取错误!";
inline const char* const kKvxVersionError = "前处理文本文件版本错误!";
inline const char* const kKvxSaveFailed = "文件保存失败!";
inline const char* const kKvxSaveAdvice = "有可能是当前存储介质无法写入,建议更换保存路径.";

// Reads a whole preprocessing file. On failure `data` is left empty and the
// result names the line and record; every ID is checked against its array.
Outcome readKvx(std::istream& in, ModelData& data, const std::string& fileName);

// A double as the file holds it from the geometric points on: fixed notation
// with five decimals (also how the program lists coordinates and loads).
std::string fixedFiveDecimals(double value);

// Writes the preprocessing file; doubles from the geometric points on are written
// fixed with five decimals, so coordinates and loads keep five decimal places.
void writeKvx(std::ostream& out, const ModelData& data);

// Clears the model, then reads the file into it. A failure's message is what the
// user is shown: "单元信息文件读取错误!" (followed by the path of a file that does
// not open, or the line and record when the file is malformed) or
// "前处理文本文件版本错误!"; the model stays cleared.
Outcome readKvxFile(const std::string& path, Model& model);

// Writes the model to a temporary file beside `path` and puts it in place only
// when all of it was written, so a failed save leaves the earlier file whole.
// A saved value that five decimals change noticeably is named in the notice of a
// success. A failure's message is "文件保存失败!" and the path; the program shows
// the advice kKvxSaveAdvice in a second box after it.
Outcome writeKvxFile(const std::string& path, const Model& model);

} // namespace shellfem::preprocessor
