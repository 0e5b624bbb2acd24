#include "regiontable.h"

const QList<QPair<QString, QString>> &regionTable()
{
    static const QList<QPair<QString, QString>> table = {
        {"bj", "北京"}, {"tj", "天津"}, {"he", "河北"},   {"sx", "山西"}, {"nm", "内蒙古"},
        {"ln", "辽宁"}, {"jl", "吉林"}, {"hl", "黑龙江"}, {"sh", "上海"}, {"js", "江苏"},
        {"zj", "浙江"}, {"ah", "安徽"}, {"fj", "福建"},   {"jx", "江西"}, {"sd", "山东"},
        {"ha", "河南"}, {"hb", "湖北"}, {"hn", "湖南"},   {"gd", "广东"}, {"gx", "广西"},
        {"hi", "海南"}, {"cq", "重庆"}, {"sc", "四川"},   {"gz", "贵州"}, {"yn", "云南"},
        {"xz", "西藏"}, {"sn", "陕西"}, {"gs", "甘肃"},   {"qh", "青海"}, {"nx", "宁夏"},
        {"xj", "新疆"}, {"hk", "香港"}, {"mo", "澳门"},   {"tw", "台湾"},
    };
    return table;
}

QString regionName(const QString &code)
{
    for (const auto &region : regionTable()) {
        if (code == region.first || code == region.first.toUpper())
            return region.second;
    }
    return QString();
}
