// The reasons tremira-calc gives when the system refuses a file or the output: English as the
// system words them, then Russian.

#include "app/batch/system_reason.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace tremira::batch {
namespace {

TEST(SystemReason, GivesTheSystemsTextAndARussianOne) {
    struct Case {
        int error;
        const char *reason;
    } const cases[] = {
        {ENOENT, "No such file or directory / нет такого файла или папки"},
        {EACCES, "Permission denied / доступ запрещён"},
        {EISDIR, "Is a directory / это папка"},
        {ENOTDIR, "Not a directory / часть пути не является папкой"},
        {ENOSPC, "No space left on device / нет места на устройстве"},
        {EIO, "Input/output error / ошибка ввода-вывода"},
        {EROFS, "Read-only file system / файловая система только для чтения"},
        {EDQUOT, "Disk quota exceeded / превышена дисковая квота"},
        {EFBIG, "File too large / файл слишком велик"},
        {EPIPE, "Broken pipe / канал закрыт читающей стороной"},
        {ELOOP, "Too many levels of symbolic links / слишком много символических ссылок"},
        {EMFILE, "Too many open files / слишком много открытых файлов"},
        {EBADF, "Bad file descriptor / неверный дескриптор файла"},
        // One the table does not know: its number, and the system's text beside it.
        {4000, "Unknown error 4000 / системная ошибка 4000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(SystemReason(c.error), c.reason);
    }
}

}  // namespace
}  // namespace tremira::batch
