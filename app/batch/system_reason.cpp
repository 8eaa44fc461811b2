#include "app/batch/system_reason.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace tremira::batch {
namespace {

struct RussianReason {
    int error;
    std::string_view text;
};

// The reasons a batch run meets: opening, reading and writing files, pipes and terminals.
constexpr std::array kRussianReasons{
    RussianReason{EPERM, "действие не разрешено"},
    RussianReason{ENOENT, "нет такого файла или папки"},
    RussianReason{EIO, "ошибка ввода-вывода"},
    RussianReason{ENXIO, "нет такого устройства или адреса"},
    RussianReason{EBADF, "неверный дескриптор файла"},
    RussianReason{EAGAIN, "ресурс временно недоступен"},
    RussianReason{ENOMEM, "недостаточно памяти"},
    RussianReason{EACCES, "доступ запрещён"},
    RussianReason{ENODEV, "нет такого устройства"},
    RussianReason{ENOTDIR, "часть пути не является папкой"},
    RussianReason{EISDIR, "это папка"},
    RussianReason{EINVAL, "недопустимый аргумент"},
    RussianReason{ENFILE, "слишком много открытых файлов в системе"},
    RussianReason{EMFILE, "слишком много открытых файлов"},
    RussianReason{EFBIG, "файл слишком велик"},
    RussianReason{ENOSPC, "нет места на устройстве"},
    RussianReason{EROFS, "файловая система только для чтения"},
    RussianReason{EPIPE, "канал закрыт читающей стороной"},
    RussianReason{ENAMETOOLONG, "слишком длинное имя файла"},
    RussianReason{ELOOP, "слишком много символических ссылок"},
    RussianReason{EDQUOT, "превышена дисковая квота"},
    RussianReason{ESTALE, "файл на сетевом диске больше недоступен"},
};

}  // namespace

std::string SystemReason(int error) {
    std::string reason = std::strerror(error);
    reason += " / ";
    const auto *known = std::find_if(kRussianReasons.begin(), kRussianReasons.end(),
                                     [error](const RussianReason &r) { return r.error == error; });
    if (known != kRussianReasons.end()) {
        reason += known->text;
    } else {
        reason += "системная ошибка " + std::to_string(error);
    }
    return reason;
}

}  // namespace tremira::batch
