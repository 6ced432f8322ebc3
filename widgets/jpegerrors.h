#pragma once

// libjpeg's error handling as our JPEG code uses it. libjpeg reports a fatal
// error by calling error_exit, which must not return: ours formats the
// message and longjmp's back to the function that started the work. Such
// functions must therefore hold only trivially destructible locals, and keep
// all state in structs their callers own and clean up.

// standard
#include <csetjmp>
#include <cstdio> // libjpeg needs FILE and size_t declared first

// libjpeg
#include <jerror.h>
#include <jpeglib.h>

namespace widgets::jpeg {

struct ErrorManager {
    jpeg_error_mgr pub; // first, so that libjpeg's pointer is ours
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] inline void errorExit(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Level -1 is a warning: corrupt data that libjpeg would paper over, such as a
// premature end of file, which it pads with grey. We refuse such pictures.
// Trace messages (levels 0 and up) are dropped; nothing is ever printed.
inline void emitMessage(j_common_ptr info, int level)
{
    if (level < 0)
        errorExit(info);
}

inline void outputMessage(j_common_ptr) {}

inline jpeg_error_mgr* installErrorManager(ErrorManager& errors)
{
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.emit_message = emitMessage;
    errors.pub.output_message = outputMessage;
    errors.message[0] = '\0';
    return &errors.pub;
}

} // namespace widgets::jpeg
