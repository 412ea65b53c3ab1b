#include "engine/param_table.h"

#include <cstdio>
#include <cstdlib>

#include "engine/fixed_decimal_text.h"
#include "vesk/translatable.h"

namespace orv {

namespace {

// key, name, display format, label id, slider id, slider min, max, default position, zero offset,
// decimals, angle
constexpr std::array<ParamDescriptor, kParamCount> kTable = {{
    {"max_particles", ORV_TR_NOOP("orv", "最大個数"), ORV_TR_NOOP("orv", "最大個数 : %5d個"), 1001, 1000, 1,
     5000, 100, 0, 0, false},
    {"lifespan", ORV_TR_NOOP("orv", "生存期間"), ORV_TR_NOOP("orv", "生存期間 : %2d.%1d秒"), 1002, 1003, 0,
     1000, 20, 0, 1, false},
    {"lifespan_variance", ORV_TR_NOOP("orv", "生存期間振れ幅"),
     ORV_TR_NOOP("orv", "生存期間振れ幅 : %2d.%1d秒"), 1004, 1005, 0, 1000, 20, 0, 1, false},
    {"start_size", ORV_TR_NOOP("orv", "初期サイズ"), ORV_TR_NOOP("orv", "初期サイズ : %2d.%1dピクセル"), 1006,
     1007, 0, 3000, 700, 0, 1, false},
    {"start_size_variance", ORV_TR_NOOP("orv", "初期サイズ振れ幅"),
     ORV_TR_NOOP("orv", "初期サイズ振れ幅 : %2d.%1dピクセル"), 1008, 1009, 0, 3000, 100, 0, 1, false},
    {"finish_size", ORV_TR_NOOP("orv", "最終サイズ"), ORV_TR_NOOP("orv", "最終サイズ : %2d.%1dピクセル"),
     1010, 1011, 0, 3000, 100, 0, 1, false},
    {"finish_size_variance", ORV_TR_NOOP("orv", "最終サイズ振れ幅"),
     ORV_TR_NOOP("orv", "最終サイズ振れ幅 : %2d.%1dピクセル"), 1012, 1013, 0, 3000, 50, 0, 1, false},
    {"emitter_angle", ORV_TR_NOOP("orv", "放出角度"), ORV_TR_NOOP("orv", "放出角度 : %3d.%1d度"), 1014, 1015,
     0, 3600, 2700, 0, 1, true},
    {"emitter_angle_variance", ORV_TR_NOOP("orv", "放出角度振れ幅"),
     ORV_TR_NOOP("orv", "放出角度振れ幅 : %3d.%1d度"), 1016, 1017, 0, 3600, 0, 0, 1, true},
    {"start_rot", ORV_TR_NOOP("orv", "初期回転量"), ORV_TR_NOOP("orv", "初期回転量 : %3d.%1d度"), 1018, 1019,
     0, 3600, 0, 0, 1, true},
    {"start_rot_variance", ORV_TR_NOOP("orv", "初期回転量振れ幅"),
     ORV_TR_NOOP("orv", "初期回転量振れ幅 : %3d.%1d度"), 1020, 1021, 0, 3600, 0, 0, 1, true},
    {"rot_per_sec", ORV_TR_NOOP("orv", "回転速度"), ORV_TR_NOOP("orv", "回転速度 : %4d.%1d度"), 1022, 1023, 0,
     21600, 10800, 10800, 1, true},
    {"rot_per_sec_variance", ORV_TR_NOOP("orv", "回転速度振れ幅"),
     ORV_TR_NOOP("orv", "回転速度振れ幅 : %4d.%1d度"), 1024, 1025, 0, 3600, 0, 0, 1, true},
    {"x_variance", ORV_TR_NOOP("orv", "X振れ幅"), ORV_TR_NOOP("orv", "X振れ幅 : %4d.%1dピクセル"), 1026, 1027,
     0, 10000, 0, 0, 1, false},
    {"y_variance", ORV_TR_NOOP("orv", "Y振れ幅"), ORV_TR_NOOP("orv", "Y振れ幅 : %4d.%1dピクセル"), 1028, 1029,
     0, 10000, 0, 0, 1, false},
    {"speed", ORV_TR_NOOP("orv", "速度"), ORV_TR_NOOP("orv", "速度 : %3d.%1d"), 1030, 1031, 0, 5000, 1000, 0,
     1, false},
    {"speed_variance", ORV_TR_NOOP("orv", "速度振れ幅"), ORV_TR_NOOP("orv", "速度振れ幅 : %3d.%1d"), 1032,
     1033, 0, 5000, 300, 0, 1, false},
    {"x_gravity", ORV_TR_NOOP("orv", "横方向重力"), ORV_TR_NOOP("orv", "横方向重力 : %4d.%1d"), 1034, 1035, 0,
     10000, 5000, 5000, 1, false},
    {"y_gravity", ORV_TR_NOOP("orv", "縦方向重力"), ORV_TR_NOOP("orv", "縦方向重力 : %4d.%1d"), 1036, 1037, 0,
     10000, 5000, 5000, 1, false},
    {"tan_acc", ORV_TR_NOOP("orv", "接線加速度"), ORV_TR_NOOP("orv", "接線加速度 : %4d.%1d"), 1038, 1039, 0,
     10000, 5000, 5000, 1, false},
    {"tan_acc_var", ORV_TR_NOOP("orv", "接線加速度振れ幅"), ORV_TR_NOOP("orv", "接線加速度振れ幅 : %3d.%1d"),
     1040, 1041, 0, 5000, 0, 0, 1, false},
    {"rad_acc", ORV_TR_NOOP("orv", "加速度"), ORV_TR_NOOP("orv", "加速度 : %4d.%1d"), 1042, 1043, 0, 8000,
     4000, 4000, 1, false},
    {"rad_acc_var", ORV_TR_NOOP("orv", "加速度振れ幅"), ORV_TR_NOOP("orv", "加速度振れ幅 : %3d.%1d"), 1044,
     1045, 0, 5000, 0, 0, 1, false},
    {"max_radius", ORV_TR_NOOP("orv", "最大半径"), ORV_TR_NOOP("orv", "最大半径 : %3d.%1d"), 1048, 1049, 0,
     5000, 1000, 0, 1, false},
    {"max_radius_variance", ORV_TR_NOOP("orv", "最大半径振れ幅"),
     ORV_TR_NOOP("orv", "最大半径振れ幅 : %3d.%1d"), 1050, 1051, 0, 5000, 0, 0, 1, false},
    {"min_radius", ORV_TR_NOOP("orv", "最小半径"), ORV_TR_NOOP("orv", "最小半径 : %3d.%1d"), 1052, 1053, 0,
     5000, 0, 0, 1, false},
    {"deg_per_sec", ORV_TR_NOOP("orv", "角速度"), ORV_TR_NOOP("orv", "角速度 : %4d.%1d"), 1054, 1055, 0, 7200,
     3600, 3600, 1, true},
    {"deg_per_sec_var", ORV_TR_NOOP("orv", "角速度振れ幅"), ORV_TR_NOOP("orv", "角速度振れ幅 : %3d.%1d"),
     1056, 1057, 0, 3600, 0, 0, 1, true},
    {"hor_amplitude", ORV_TR_NOOP("orv", "水平振幅"), ORV_TR_NOOP("orv", "水平振幅 : %3d.%01dピクセル"), 1112,
     1104, 0, 10000, 5000, 5000, 1, false},
    {"hor_amplitude_var", ORV_TR_NOOP("orv", "水平振幅振れ幅"),
     ORV_TR_NOOP("orv", "水平振幅振れ幅 : %3d.%01dピクセル"), 1113, 1105, 0, 5000, 0, 0, 1, false},
    {"hor_cycle", ORV_TR_NOOP("orv", "水平周期"), ORV_TR_NOOP("orv", "水平周期 : %3d.%02d秒"), 1114, 1106, 0,
     1000, 0, 0, 2, false},
    {"hor_cycle_var", ORV_TR_NOOP("orv", "水平周期振れ幅"), ORV_TR_NOOP("orv", "水平周期振れ幅 : %3d.%02d秒"),
     1115, 1107, 0, 1000, 0, 0, 2, false},
    {"ver_amplitude", ORV_TR_NOOP("orv", "垂直振幅"), ORV_TR_NOOP("orv", "垂直振幅 : %3d.%01dピクセル"), 1116,
     1108, 0, 10000, 5000, 5000, 1, false},
    {"ver_amplitude_var", ORV_TR_NOOP("orv", "垂直振幅振れ幅"),
     ORV_TR_NOOP("orv", "垂直振幅振れ幅 : %3d.%01dピクセル"), 1117, 1109, 0, 5000, 0, 0, 1, false},
    {"ver_cycle", ORV_TR_NOOP("orv", "垂直周期"), ORV_TR_NOOP("orv", "垂直周期 : %3d.%02d秒"), 1118, 1110, 0,
     1000, 0, 0, 2, false},
    {"ver_cycle_var", ORV_TR_NOOP("orv", "垂直周期振れ幅"), ORV_TR_NOOP("orv", "垂直周期振れ幅 : %3d.%02d秒"),
     1119, 1111, 0, 1000, 0, 0, 2, false},
    {"delay", ORV_TR_NOOP("orv", "ディレイ"), ORV_TR_NOOP("orv", "ディレイ : %3d.%02d秒"), 1123, 1120, 0,
     1000, 0, 0, 2, false},
    {"offset_x", ORV_TR_NOOP("orv", "オフセットX"), ORV_TR_NOOP("orv", "オフセットX : %5dピクセル"), 1124,
     1121, 0, 2000, 1000, 1000, 0, false},
    {"offset_y", ORV_TR_NOOP("orv", "オフセットY"), ORV_TR_NOOP("orv", "オフセットY : %5dピクセル"), 1125,
     1122, 0, 2000, 1000, 1000, 0, false},
    {"duration", ORV_TR_NOOP("orv", "期間"), ORV_TR_NOOP("orv", "期間 : %3d.%02d秒"), 1128, 1129, 0, 10000, 0,
     0, 2, false},
    {"start_color_r", ORV_TR_NOOP("orv", "開始色R"), "R : %1d.%03d", 1059, 1060, 0, 1000, 1000, 0, 3, false},
    {"start_color_g", ORV_TR_NOOP("orv", "開始色G"), "G : %1d.%03d", 1064, 1061, 0, 1000, 300, 0, 3, false},
    {"start_color_b", ORV_TR_NOOP("orv", "開始色B"), "B : %1d.%03d", 1063, 1062, 0, 1000, 0, 0, 3, false},
    {"start_color_a", ORV_TR_NOOP("orv", "開始色A"), "A : %1d.%03d", 1088, 1087, 0, 1000, 600, 0, 3, false},
    {"finish_color_r", ORV_TR_NOOP("orv", "終了色R"), "R : %1d.%03d", 1065, 1068, 0, 1000, 1000, 0, 3, false},
    {"finish_color_g", ORV_TR_NOOP("orv", "終了色G"), "G : %1d.%03d", 1066, 1069, 0, 1000, 300, 0, 3, false},
    {"finish_color_b", ORV_TR_NOOP("orv", "終了色B"), "B : %1d.%03d", 1067, 1070, 0, 1000, 0, 0, 3, false},
    {"finish_color_a", ORV_TR_NOOP("orv", "終了色A"), "A : %1d.%03d", 1091, 1092, 0, 1000, 0, 0, 3, false},
    {"start_color_r_var", ORV_TR_NOOP("orv", "開始色R振れ幅"), "R : %1d.%03d", 1071, 1077, 0, 1000, 0, 0, 3,
     false},
    {"start_color_g_var", ORV_TR_NOOP("orv", "開始色G振れ幅"), "G : %1d.%03d", 1073, 1078, 0, 1000, 0, 0, 3,
     false},
    {"start_color_b_var", ORV_TR_NOOP("orv", "開始色B振れ幅"), "B : %1d.%03d", 1075, 1079, 0, 1000, 0, 0, 3,
     false},
    {"start_color_a_var", ORV_TR_NOOP("orv", "開始色A振れ幅"), "A : %1d.%03d", 1089, 1090, 0, 1000, 0, 0, 3,
     false},
    {"finish_color_r_var", ORV_TR_NOOP("orv", "終了色R振れ幅"), "R : %1d.%03d", 1072, 1080, 0, 1000, 0, 0, 3,
     false},
    {"finish_color_g_var", ORV_TR_NOOP("orv", "終了色G振れ幅"), "G : %1d.%03d", 1074, 1081, 0, 1000, 0, 0, 3,
     false},
    {"finish_color_b_var", ORV_TR_NOOP("orv", "終了色B振れ幅"), "B : %1d.%03d", 1076, 1082, 0, 1000, 0, 0, 3,
     false},
    {"finish_color_a_var", ORV_TR_NOOP("orv", "終了色A振れ幅"), "A : %1d.%03d", 1099, 1100, 0, 1000, 0, 0, 3,
     false},
    {"bg_r", ORV_TR_NOOP("orv", "背景色R"), "R : %1d.%03d", 1093, 1096, 0, 1000, 0, 0, 3, false},
    {"bg_g", ORV_TR_NOOP("orv", "背景色G"), "G : %1d.%03d", 1094, 1097, 0, 1000, 0, 0, 3, false},
    {"bg_b", ORV_TR_NOOP("orv", "背景色B"), "B : %1d.%03d", 1095, 1098, 0, 1000, 0, 0, 3, false},
    {"bg_a", ORV_TR_NOOP("orv", "背景色A"), "A : %1d.%03d", 1102, 1101, 0, 1000, 0, 0, 3, false},
}};

constexpr std::int32_t kPowersOfTen[] = {1, 10, 100, 1000};
constexpr double kPi = 3.141592653589793;

// The format with its first integer conversion turned into a string conversion of the same
// width, so that a whole part of "-0" can be printed: %d has no negative zero.
std::string WithSignedZeroField(const char* format) {
    std::string text = format;
    const std::size_t percent = text.find('%');
    const std::size_t conversion = text.find('d', percent);
    if (percent == std::string::npos || conversion == std::string::npos) return text;
    std::string width = text.substr(percent + 1, conversion - percent - 1);
    // A zero fill flag has no meaning for a string field.
    if (!width.empty() && width.front() == '0') width.erase(0, 1);
    return text.substr(0, percent) + "%" + width + "s" + text.substr(conversion + 1);
}

}  // namespace

const std::array<ParamDescriptor, kParamCount>& ParamTable() {
    return kTable;
}

const ParamDescriptor& Param(std::size_t index) {
    return kTable.at(index);
}

double RawToValue(std::size_t index, std::int32_t raw) {
    const ParamDescriptor& row = Param(index);
    double value = raw;
    if (row.decimals != 0) value = raw / static_cast<double>(kPowersOfTen[row.decimals]);
    if (row.angle) value = value * kPi / 180.0;
    return value;
}

std::string FormatParamLabel(std::size_t index, std::int32_t raw) {
    return FormatParamLabel(index, raw, Param(index).format);
}

std::string FormatParamLabel(std::size_t index, std::int32_t raw, const char* format) {
    const ParamDescriptor& row = Param(index);
    char buffer[256];
    if (row.decimals == 0) {
        std::snprintf(buffer, sizeof buffer, format, raw);
        return buffer;
    }
    const FixedParts parts = SplitFixed(raw, row.decimals);
    if (parts.negativeZero) {
        std::snprintf(buffer, sizeof buffer, WithSignedZeroField(format).c_str(), "-0", parts.fraction);
    } else {
        std::snprintf(buffer, sizeof buffer, format, parts.whole, parts.fraction);
    }
    return buffer;
}

}  // namespace orv
