#pragma once
// The bytes of the first reference run's report file, typed from the line table: Windows-1251,
// the value in column 42, CR LF after every line.

#include <QByteArray>

namespace tremira::reports::test {

inline const QByteArray kRunAReportBytes(
    // (empty)
    "\r\n"
    // Дата: 07.12.2026Время: 14:05:09
    "\xc4\xe0\xf2\xe0: 07.12.2026\xc2\xf0\xe5\xec\xff: 14:05:09\r\n"
    // --------------------------------
    "--------------------------------\r\n"
    // Входные данные
    "\xc2\xf5\xee\xe4\xed\xfb\xe5 \xe4\xe0\xed\xed\xfb\xe5\r\n"
    // ===================================================
    "===================================================\r\n"
    // Напряжение сети               :          220
    "\xcd\xe0\xef\xf0\xff\xe6\xe5\xed\xe8\xe5 \xf1\xe5\xf2\xe8               :          220\r\n"
    // Выходное напряжение           :          65
    "\xc2\xfb\xf5\xee\xe4\xed\xee\xe5 \xed\xe0\xef\xf0\xff\xe6\xe5\xed\xe8\xe5           :          65\r\n"
    // Максимальный сварочный ток    :          160
    "\xcc\xe0\xea\xf1\xe8\xec\xe0\xeb\xfc\xed\xfb\xe9 \xf1\xe2\xe0\xf0\xee\xf7\xed\xfb\xe9 \xf2\xee\xea    :          "
    "160\r\n"
    // Сечение трансформатора        :          84,672
    "\xd1\xe5\xf7\xe5\xed\xe8\xe5 \xf2\xf0\xe0\xed\xf1\xf4\xee\xf0\xec\xe0\xf2\xee\xf0\xe0        :          84,672\r\n"
    // Материал  I обмотки           :          Медь
    "\xcc\xe0\xf2\xe5\xf0\xe8\xe0\xeb  I \xee\xe1\xec\xee\xf2\xea\xe8           :          \xcc\xe5\xe4\xfc\r\n"
    // Материал II обмотки           :          Медь
    "\xcc\xe0\xf2\xe5\xf0\xe8\xe0\xeb II \xee\xe1\xec\xee\xf2\xea\xe8           :          \xcc\xe5\xe4\xfc\r\n"
    // Тип сердечника                :          Стержневой
    "\xd2\xe8\xef \xf1\xe5\xf0\xe4\xe5\xf7\xed\xe8\xea\xe0                :          "
    "\xd1\xf2\xe5\xf0\xe6\xed\xe5\xe2\xee\xe9\r\n"
    // Макс. индукция сердечника (Тл):          1,42
    "\xcc\xe0\xea\xf1. \xe8\xed\xe4\xf3\xea\xf6\xe8\xff \xf1\xe5\xf0\xe4\xe5\xf7\xed\xe8\xea\xe0 (\xd2\xeb):          "
    "1,42\r\n"
    // (empty)
    "\r\n"
    // Расчетные данные
    "\xd0\xe0\xf1\xf7\xe5\xf2\xed\xfb\xe5 \xe4\xe0\xed\xed\xfb\xe5\r\n"
    // ====================================================
    "====================================================\r\n"
    // Габаритная мощность трансформатора (вт): 10400
    "\xc3\xe0\xe1\xe0\xf0\xe8\xf2\xed\xe0\xff \xec\xee\xf9\xed\xee\xf1\xf2\xfc "
    "\xf2\xf0\xe0\xed\xf1\xf4\xee\xf0\xec\xe0\xf2\xee\xf0\xe0 (\xe2\xf2): 10400\r\n"
    // Требуемая  мощность трансформатора (вт): 5600
    "\xd2\xf0\xe5\xe1\xf3\xe5\xec\xe0\xff  \xec\xee\xf9\xed\xee\xf1\xf2\xfc "
    "\xf2\xf0\xe0\xed\xf1\xf4\xee\xf0\xec\xe0\xf2\xee\xf0\xe0 (\xe2\xf2): 5600\r\n"
    // Количество витков  I обмотки   :         83
    "\xca\xee\xeb\xe8\xf7\xe5\xf1\xf2\xe2\xee \xe2\xe8\xf2\xea\xee\xe2  I \xee\xe1\xec\xee\xf2\xea\xe8   :         "
    "83\r\n"
    // Количество витков II обмотки   :         25
    "\xca\xee\xeb\xe8\xf7\xe5\xf1\xf2\xe2\xee \xe2\xe8\xf2\xea\xee\xe2 II \xee\xe1\xec\xee\xf2\xea\xe8   :         "
    "25\r\n"
    // Сечение провода  I обмотки(cm2):         6
    "\xd1\xe5\xf7\xe5\xed\xe8\xe5 \xef\xf0\xee\xe2\xee\xe4\xe0  I \xee\xe1\xec\xee\xf2\xea\xe8(cm2):         6\r\n"
    // Сечение провода II обмотки(cm2):         20
    "\xd1\xe5\xf7\xe5\xed\xe8\xe5 \xef\xf0\xee\xe2\xee\xe4\xe0 II \xee\xe1\xec\xee\xf2\xea\xe8(cm2):         20\r\n"
    // Максимальный ток I обмотки  (А):         48,19
    "\xcc\xe0\xea\xf1\xe8\xec\xe0\xeb\xfc\xed\xfb\xe9 \xf2\xee\xea I \xee\xe1\xec\xee\xf2\xea\xe8  (\xc0):         "
    "48,19\r\n"
    // ****************************************************
    "****************************************************\r\n"
    // (empty)
    "\r\n");

}  // namespace tremira::reports::test
