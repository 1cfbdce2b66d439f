#include "app/DialogTemplate.h"

#include "app/DialogIds.h"
#include "core/RecordFields.h"

#include <string_view>
#include <utility>

namespace morvik {

namespace {
using K = TemplateKind;
} // namespace

const std::vector<TemplateControl>& mainDialogTemplate() {
    static const std::vector<TemplateControl> table{
        {kIdMemberName, K::Edit, "", 63, 22, 105, 12},
        {kIdTestDate, K::DatePicker, "", 63, 42, 105, 12},
        {kIdRemark, K::MultiLineEdit, "", 63, 62, 105, 34},
        {kIdProjectName, K::MultiLineEdit, "", 243, 16, 187, 13},
        {kIdInstrumentNumber, K::Edit, "", 243, 32, 75, 12},
        {kIdTemperature, K::NumberEdit, "", 243, 47, 50, 12},
        {kIdBasis, K::DropDownList, "", 243, 62, 75, 13},
        {kIdConstructionDate, K::DatePicker, "", 243, 77, 75, 12},
        {kIdStrengthGrade, K::Edit, "", 243, 92, 75, 12},
        {kIdMortarKind, K::DropDownList, "", 365, 32, 66, 12},
        {kIdMortarVariety, K::DropDownList, "", 365, 47, 66, 12},
        {kIdReviewer, K::Edit, "", 365, 62, 66, 12},
        {kIdChiefInspector, K::Edit, "", 365, 77, 66, 12},
        {0, K::GroupBox, "计算结果：", 197, 107, 237, 59},
        {0, K::GroupBox, "工程信息：", 197, 5, 237, 101},
        {0, K::GroupBox, "构件信息：", 5, 9, 187, 93},
        {0, K::GroupBox, "", 5, 107, 187, 59},
        {kIdMeanDepth, K::ResultEdit, "", 316, 117, 43, 12},
        {kIdStrength, K::ResultEdit, "", 316, 134, 43, 12},
        {kIdReadingGrid, K::ReadingGrid, "", 197, 170, 237, 243},
        {kIdSave, K::Button, "保  存", 68, 419, 43, 18},
        {kIdOpen, K::Button, "打  开", 16, 419, 43, 18},
        {kIdClearProjectInfo, K::HiddenButton, "清空工程信息", 150, 0, 54, 18},
        {kIdClearReadings, K::Button, "清空表格", 172, 419, 43, 18},
        {kIdPrintSettings, K::Button, "打印设置", 224, 419, 43, 18},
        {kIdPrintPreview, K::Button, "打印预览", 276, 419, 43, 18},
        {kIdCalculator, K::Button, "计算器", 328, 419, 43, 18},
        {kIdBatchMode, K::CheckBox, "批检测", 14, 107, 36, 11},
        {kIdCalculate, K::HiddenButton, "计  算", 95, 0, 54, 18},
        {kIdExit, K::Button, "退  出", 380, 419, 43, 18},
        {kIdMemberList, K::MemberList, "", 5, 169, 187, 244},
        {0, K::RightLabel, "工程名称：", 201, 20, 41, 8, kIdProjectName},
        {0, K::RightLabel, "构件编号：", 15, 25, 43, 8, kIdMemberName},
        {0, K::RightLabel, "仪器编号：", 199, 34, 43, 8, kIdInstrumentNumber},
        {0, K::RightLabel, "检测温度：", 199, 49, 43, 8, kIdTemperature},
        {0, K::RightLabel, "砂浆品种：", 321, 49, 43, 8, kIdMortarVariety},
        {0, K::RightLabel, "检测日期：", 15, 44, 43, 8, kIdTestDate},
        {0, K::RightLabel, "备    注：", 15, 63, 43, 8, kIdRemark},
        {0, K::RightLabel, "复    核：", 321, 64, 43, 8, kIdReviewer},
        {0, K::RightLabel, "主    检：", 321, 79, 43, 8, kIdChiefInspector},
        {0, K::RightLabel, "砂浆种类：", 321, 34, 43, 8, kIdMortarKind},
        {0, K::RightLabel, "检测依据：", 199, 64, 43, 8, kIdBasis},
        {0, K::RightLabel, "施工日期：", 199, 79, 43, 8, kIdConstructionDate},
        {0, K::RightLabel, "强度等级：", 199, 94, 43, 8, kIdStrengthGrade},
        {0, K::Label, "贯入深度平均值 =", 245, 119, 71, 8, kIdMeanDepth},
        {0, K::Label, "砂浆抗压强度换算值 =", 229, 136, 87, 8, kIdStrength},
        {0, K::Label, "mm", 364, 117, 8, 8},
        {0, K::Label, "MPa", 364, 136, 13, 8},
        {0, K::RightLabel, "平 均 值：", 13, 121, 40, 8, kIdBatchMean},
        {0, K::RightLabel, "最 小 值：", 13, 136, 40, 8, kIdBatchMin},
        {0, K::RightLabel, "变异系数：", 107, 136, 40, 8, kIdBatchCv},
        {0, K::RightLabel, "标 准 差：", 107, 121, 40, 8, kIdBatchStdDev},
        {0, K::Label, "MPa", 83, 121, 13, 8},
        {0, K::Label, "MPa", 83, 137, 13, 8},
        {kIdBatchMean, K::ResultEdit, "", 49, 119, 32, 12},
        {kIdBatchStdDev, K::ResultEdit, "", 144, 119, 32, 12},
        {kIdBatchMin, K::ResultEdit, "", 49, 135, 32, 12},
        {kIdBatchCv, K::ResultEdit, "", 144, 135, 32, 12},
        {0, K::Label, "砂浆抗压强度推定值 =", 18, 152, 87, 8, kIdBatchEstimate},
        {kIdBatchEstimate, K::ResultEdit, "", 105, 150, 43, 12},
        {0, K::Label, "MPa", 153, 152, 13, 8},
        {kIdNewFile, K::Button, "新文件", 120, 419, 43, 18},
        {0, K::Label, "℃", 300, 49, 8, 8},
        {0, K::Label, "MPa", 364, 153, 13, 8},
        {kIdMemberEstimate, K::ResultEdit, "", 316, 151, 43, 12},
        {0, K::Label, "构件强度推定值 =", 245, 153, 71, 8, kIdMemberEstimate},
    };
    return table;
}

const std::vector<int>& mainDialogTabOrder() {
    static const std::vector<int> order{
        kIdMemberName,    kIdTestDate, kIdRemark,           kIdProjectName,    kIdInstrumentNumber,
        kIdTemperature,   kIdBasis,    kIdConstructionDate, kIdStrengthGrade,  kIdMortarKind,
        kIdMortarVariety, kIdReviewer, kIdChiefInspector,   kIdMemberEstimate,
    };
    return order;
}

const std::vector<int>& mainDialogKeyboardStops() {
    static const std::vector<int> stops{
        kIdBatchMode,     kIdMemberList,    kIdReadingGrid,  kIdOpen,       kIdSave, kIdNewFile,
        kIdClearReadings, kIdPrintSettings, kIdPrintPreview, kIdCalculator, kIdExit,
    };
    return stops;
}

int editCharacterLimit(int id) {
    // The record field each text field stores into; its table says what the field takes.
    static const std::pair<int, std::string_view> kStoredIn[] = {
        {kIdProjectName, "projectName"},     {kIdInstrumentNumber, "instrumentNumber"},
        {kIdReviewer, "reviewer"},           {kIdChiefInspector, "chiefInspector"},
        {kIdStrengthGrade, "strengthGrade"},
    };
    static const std::pair<int, std::string_view> kMemberStoredIn[] = {
        {kIdMemberName, "memberName"},
        {kIdRemark, "remark"},
    };
    for (const auto& [field, name] : kStoredIn)
        if (field == id)
            return fieldNamed(kProjectFields, name)->characters;
    for (const auto& [field, name] : kMemberStoredIn)
        if (field == id)
            return fieldNamed(kMemberFields, name)->characters;
    return 0;
}

} // namespace morvik
