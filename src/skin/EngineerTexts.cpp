#include "skin/EngineerTexts.h"

#include <algorithm>

namespace orb
{

namespace
{

// id, {English, (unused), Simplified Chinese}
const std::vector<EngineerTextRecord> kTexts{
    {0, {"Mode A", "", "模式A"}},
    {1, {"Mode B", "", "模式B"}},
    {2, {"Advanced", "", "高级设置"}},
    {3, {"Breathing Light", "", "灯光控制"}},
    {4, {"Macro", "", "宏定义"}},
    {5, {"Engineer Mode", "", "工程模式"}},
    {6, {"Load", "", "加载配置"}},
    {7, {"Save", "", "保存配置"}},
    {8, {"Test Keys Position", "", "测试按键位置"}},
    {9, {"Default", "", "恢复默认值"}},
    {10, {"Apply", "", "写入设备"}},
    {11, {"Import Base Macro", "", "导入普通宏"}},
    {13, {"Operation", "", "操作人员界面"}},
    {14, {"Engineer", "", "工程人员界面"}},
    {15, {"LED Type", "", "LED类型"}},
    {16, {"Nor LED", "", "智控灯"}},
    {17, {"MCU LED", "", "流光灯"}},
    {18, {"LED Status", "", "LED工作状态"}},
    {19, {"On", "", "打开"}},
    {20, {"Off", "", "关闭"}},
    {21, {"LED Switch(M+CPI)", "", "LED灯开关切换(M+CPI)"}},
    {22, {"Fire Function", "", "压枪功能"}},
    {23, {"Fn+Left Key", "", "Fn+左键"}},
    {24, {"Left Key", "", "左键"}},
    {25, {"Fire Mode", "", "连击模式"}},
    {26, {"Fire Count:", "", "连击次数:"}},
    {27, {"Fire Time:", "", "间隔时间:"}},
    {28, {"LED Mode(L+CPI)", "", "LED灯模式切换(L+CPI)"}},
    {29, {"MCU LED Control Mode", "", "MCU LED灯扫描方式"}},
    {30, {"3-Line Scan", "", "流光增亮版"}},
    {31, {"6-Line Scan", "", "流光多点版"}},
    {32, {"Nor LED Mode", "", "智控灯工作模式"}},
    {33, {"CPI Breath", "", "CPI呼吸"}},
    {34, {"Nor LED Breath Setting", "", "智控灯效配置"}},
    {35, {"Breath Step:", "", "呼吸速率:"}},
    {36, {"Nor LED CPI Color Setting", "", "智控灯各档CPI对应颜色设定"}},
    {37, {"Red", "", "红色"}},
    {38, {"Green", "", "绿色"}},
    {39, {"Yellow", "", "黄色"}},
    {40, {"Blue", "", "蓝色"}},
    {41, {"Purple", "", "紫色"}},
    {42, {"Cyan", "", "青色"}},
    {43, {"White", "", "白色"}},
    {44, {"MCU LED CPI Color Setting", "", "MCU LED灯各档CPI对应颜色设定"}},
    {45, {"Vendor ID:", "", "厂商编码:"}},
    {46, {"Product ID:", "", "产品编码:"}},
    {47, {"MCU LED Setting", "", "MCU LED灯工作模式"}},
    {48, {"LED Number:", "", "灯数量:"}},
    {49, {"Current Mode:", "", "当前模式:"}},
    {50, {"Mode 1", "", "模式1"}},
    {51, {"Mode 2", "", "模式2"}},
    {52, {"Mode 3", "", "模式3"}},
    {53, {"Mode 4", "", "模式4"}},
    {54, {"Mode 5", "", "模式5"}},
    {55, {"Mode 6", "", "模式6"}},
    {56, {"Mode 7", "", "模式7"}},
    {57, {"LED Step:", "", "当前速率:"}},
    {58, {"Key Mode Color Setting", "", "各档按键模式对应颜色设定"}},
    {59, {"Mode1 R:", "", "模式1 R:"}},
    {60, {"Mode1 G:", "", "模式1 G:"}},
    {61, {"Mode1 B::", "", "模式1 B:"}},
    {62, {"Mode2 R:", "", "模式2 R:"}},
    {63, {"Mode2 G:", "", "模式2 G:"}},
    {64, {"Mode2 B:", "", "模式2 B:"}},
    {65, {"Switch Key Mode", "", "按键模式切换方式"}},
    {66, {"Press Middle Key", "", "中键长按"}},
    {67, {"Press CPI Key", "", "CPI长按"}},
    {68, {"Press Gun Key", "", "枪键长按"}},
    {69, {"Is Save Key Mode", "", "是否保存按键模式"}},
    {70, {"Save", "", "保存"}},
    {71, {"No Save", "", "不保存"}},
    {72, {"Sensor Ori:", "", "Sensor角度:"}},
    {73, {"0°", "", "0°"}},
    {74, {"90°", "", "90°"}},
    {75, {"180°", "", "180°"}},
    {76, {"270°", "", "270°"}},
    {77, {"X Reverse", "", "X镜面反向"}},
    {78, {"Y Reverse", "", "Y镜面反向"}},
    {79, {"XY Swap XY Reverse", "", "XY互换XY取反"}},
    {80, {"XY Swap XY NoReverse", "", "XY互换XY不取反"}},
    {81, {"CPI", "", "CPI"}},
    {82, {"CPI Steps:", "", "CPI段数:"}},
    {83, {"Current CPI:", "", "当前档位:"}},
    {84, {"CPI 1:", "", "CPI 1值:"}},
    {85, {"CPI 2:", "", "CPI 2值:"}},
    {86, {"CPI 3:", "", "CPI 3值:"}},
    {87, {"CPI 4:", "", "CPI 4值:"}},
    {88, {"CPI 5:", "", "CPI 5值:"}},
    {89, {"CPI 6:", "", "CPI 6值:"}},
    {90, {"CPI 7:", "", "CPI 7值:"}},
    {91, {"AIM Key:", "", "瞄准键键值:"}},
    {92, {"Key Mode:", "", "按键模式:"}},
    {93, {"Mode A", "", "模式A"}},
    {94, {"Mode B", "", "模式B"}},
    {100, {"MCU LED Mode Select", "", "MCU LED工作模式选择"}},
    {143, {"Notes: ", "", "注释: "}},
};

const std::vector<EngineerCaption> kCaptions{
    {"Btn_Main_6", 0},         {"Btn_Switch_6", 1},       {"Btn_Adv_6", 2},
    {"Btn_Breath_6", 3},       {"Btn_Macro_6", 4},        {"Btn_Engineer_6", 5},
    {"Btn_Load_6", 6},         {"Btn_Save_6", 7},         {"btn_TestKeys", 8},
    {"Btn_Default", 9},        {"btn_Write", 10},         {"Btn_ImportBaseMacro", 11},
    {"ts_Operator", 13},       {"ts_Engineer", 14},       {"gbLEDType", 15},
    {"rb_NorLED", 16},         {"rb_MCULED", 17},         {"gbLEDStatus", 18},
    {"rb_LEDOn", 19},          {"rb_LEDOff", 20},         {"gbMCPI", 21},
    {"rb_MCPIOn", 19},         {"rb_MCPIOff", 20},        {"gbFireFn", 22},
    {"rb_FireFnOn", 23},       {"rb_FireFnOff", 24},      {"gbFireMode", 25},
    {"lbl_FireCount", 26},     {"lbl_FireTime", 27},      {"gbLCPI", 28},
    {"rb_LCPIOn", 19},         {"rb_LCPIOff", 20},        {"gbMCULEDControlMode", 29},
    {"rb_MCULED3Control", 30}, {"rb_MCULED6Control", 31}, {"gbNorLEDMode", 32},
    {"rb_NorLEDCPI", 33},      {"gbNorLEDSetting", 34},   {"lbl_NorLEDStep", 35},
    {"gbNorLEDCPIColor", 36},  {"gbMCULEDCPIColor", 44},  {"lbl_VendorID", 45},
    {"lbl_ProductID", 46},     {"lbl_VendorID_Rd", 45},   {"lbl_ProductID_Rd", 46},
    {"gbMCULEDCurrent", 47},   {"lbl_MCULEDNum", 48},     {"lbl_MCULEDCrtMode", 49},
    {"cb_Mode1", 50},          {"cb_Mode2", 51},          {"cb_Mode3", 52},
    {"cb_Mode4", 53},          {"cb_Mode5", 54},          {"cb_Mode6", 55},
    {"cb_Mode7", 56},          {"lbl_MCULEDCrtStep", 57}, {"gbKeyModeColor", 58},
    {"lbl_KeyMode1R", 59},     {"lbl_KeyMode1G", 60},     {"lbl_KeyMode1B", 61},
    {"lbl_KeyMode2R", 62},     {"lbl_KeyMode2G", 63},     {"lbl_KeyMode2B", 64},
    {"gbSwitchFn", 65},        {"cb_MidPress", 66},       {"cb_CPIPress", 67},
    {"cb_GunPress", 68},       {"gbSaveKeyMode", 69},     {"rb_Save", 70},
    {"rb_NoSave", 71},         {"lbl_SensorOri", 72},     {"gbCPI", 81},
    {"lbl_CPIStep", 82},       {"lbl_CurrentCPI", 83},    {"lbl_CPI1", 84},
    {"lbl_CPI2", 85},          {"lbl_CPI3", 86},          {"lbl_CPI4", 87},
    {"lbl_CPI5", 88},          {"lbl_CPI6", 89},          {"lbl_CPI7", 90},
    {"lbl_TLAIMKey", 91},      {"lbl_KeyMode", 92},       {"gbKeyMode1", 93},
    {"gbKeyMode2", 94},        {"gbMCULEDMode", 100},     {"lbl_Notes", 143},
};

const std::vector<EngineerList> kLists{
    {"cb_CPI1Color", 37, 7}, {"cb_CPI2Color", 37, 7},         {"cb_CPI3Color", 37, 7},
    {"cb_CPI4Color", 37, 7}, {"cb_CPI5Color", 37, 7},         {"cb_CPI6Color", 37, 7},
    {"cb_CPI7Color", 37, 7}, {"cb_MCULEDCurrentMode", 50, 7}, {"cb_SensorOri", 73, 8},
    {"cb_KeyMode", 93, 2},
};

struct Hint {
    std::vector<const char*> controls;
    const char* text;
};

const std::vector<Hint> kHints{
    {{"gbLEDType", "rb_NorLED", "rb_MCULED"},
     "本方案灯光控制支持智控灯和MCU LED，请根据鼠标硬件设计时的实际情况，选取智控灯或MCU "
     "LED，程序才会正确的控制。"},
    {{"gbLEDStatus", "rb_LEDOn", "rb_LEDOff"}, "通过参数的选择，控制按键闪灯亮灭的功能。"},
    {{"gbMCPI", "rb_MCPIOn", "rb_MCPIOff"},
     "通过参数的选择，控制LED灯开关切换模式功能是否打开，并通过‘中键+CPI循环’/‘中键+CPI+’/"
     "‘中键+CPI-’进行切换。"},
    {{"gbLCPI", "rb_LCPIOn", "rb_LCPIOff"},
     "通过‘打开’和‘关闭’选项的选择，控制LED灯切换模式功能是否打开，并通过‘左键+CPI键’进行快捷切换。"},
    {{"gbMCULEDControlMode", "rb_MCULED3Control", "rb_MCULED6Control"},
     "MCU LED灯有两种扫描方式，分别为：流光增亮版和流光多点版，用户可根据实际使用状况进行选择。"},
    {{"gbMCULEDCurrent", "lbl_MCULEDNum", "edt_MCULEDNum", "lbl_ms2", "lbl_MCULEDCrtMode",
      "cb_MCULEDCurrentMode", "lbl_MCULEDCrtStep", "edt_MCULEDCrtStep", "lbl_ms3"},
     "MCU LED等工作模式参数的设定。"},
    {{"gbMCULEDCPIColor", "lbl_CPI1R", "lbl_CPI1G", "lbl_CPI1B", "lbl_CPI2R", "lbl_CPI2G", "lbl_CPI2B",
      "lbl_CPI3R",        "lbl_CPI3G", "lbl_CPI3B", "lbl_CPI4R", "lbl_CPI4G", "lbl_CPI4B", "lbl_CPI5R",
      "lbl_CPI5G",        "lbl_CPI5B", "lbl_CPI6R", "lbl_CPI6G", "lbl_CPI6B", "lbl_CPI7R", "lbl_CPI7G",
      "lbl_CPI7B",        "edt_CPI1R", "edt_CPI1G", "edt_CPI1B", "edt_CPI2R", "edt_CPI2G", "edt_CPI2B",
      "edt_CPI3R",        "edt_CPI3G", "edt_CPI3B", "edt_CPI4R", "edt_CPI4G", "edt_CPI4B", "edt_CPI5R",
      "edt_CPI5G",        "edt_CPI5B", "edt_CPI6R", "edt_CPI6G", "edt_CPI6B", "edt_CPI7R", "edt_CPI7G",
      "edt_CPI7B"},
     "MCU LED各档CPI对应颜色参数设定，用户通过颜色R/G/B值参数设定，控制MCU LED各档CPI颜色。"},
    {{"gbNorLEDSetting", "lbl_NorLEDStep", "lbl_ms1", "edt_NorLEDStep"},
     "智控灯灯效配置参数的设定，通过呼吸速率时间参数的设定，控制智控灯灯效显示。"},
    {{"gbNorLEDMode", "rb_NorLEDCPI"},
     "智控灯有两种呼吸模式：CPI呼吸/颜色自定义。用户可根据自己的喜好进行设定。"},
    {{"gbNorLEDCPIColor", "lbl_CPI1Color", "lbl_CPI2Color", "lbl_CPI3Color", "lbl_CPI4Color", "lbl_CPI5Color",
      "lbl_CPI6Color", "lbl_CPI7Color", "cb_CPI1Color", "cb_CPI2Color", "cb_CPI3Color", "cb_CPI4Color",
      "cb_CPI5Color", "cb_CPI6Color", "cb_CPI7Color"},
     "智控灯各档CPI对应颜色参数设定，共计有7种灯效供用户选择。"},
    {{"gbCPI", "lbl_CPIStep", "cb_CPIStep", "lbl_CurrentCPI", "cb_CurrentCPI", "lbl_CPI1", "lbl_CPI2",
      "lbl_CPI3", "lbl_CPI4", "lbl_CPI5", "lbl_CPI6", "lbl_CPI7", "cb_CPI1", "cb_CPI2", "cb_CPI3", "cb_CPI4",
      "cb_CPI5", "cb_CPI6", "cb_CPI7"},
     "本方案支持2-"
     "7档变速，CPI值可选择任意一档CPI。当前CPI档位选定并写入设备后，则鼠标工作在当前设定档位的CPI。"},
    {{"gbKeyModeColor", "lbl_KeyMode1R", "lbl_KeyMode1G", "lbl_KeyMode1B", "lbl_KeyMode2R", "lbl_KeyMode2G",
      "lbl_KeyMode2B", "edt_KeyMode1R", "edt_KeyMode1G", "edt_KeyMode1B", "edt_KeyMode2R", "edt_KeyMode2G",
      "edt_KeyMode2B"},
     "本方案支援两种按键模式，可通过对两种按键模式颜色参数R/G/"
     "B值的设定，在硬件切换按键模式时，会闪烁3秒，以告诉用户按键的当前模式。"},
    {{"gbSwitchFn", "cb_MidPress", "cb_CPIPress", "cb_GunPress"},
     "按键模式切换方式包括：中键长按/CPI长按/枪键长按，用户可根据自己的需求进行选择。"},
    {{"gbSaveKeyMode", "rb_Save", "rb_NoSave"},
     "通过参数的选择，‘保存’时鼠标上电后使用记忆的按键模式；‘不保存’时鼠标上电后为按键模式1。"},
    {{"lbl_KeyMode", "cb_KeyMode"},
     "本方案支援两组按键模式，在“是否保存按键模式”为保存时，鼠标会记忆当前按键模式；在“是否保存按键模式”为不"
     "保存时，鼠标一直为按键模式A。"},
    {{"lbl_SensorOri", "cb_SensorOri"},
     "本方案支持Sensor方向选择，请根据鼠标硬件设计时的实际情况选取；鼠标光标才会正确移动。"},
    {{"lbl_VendorID", "lbl_ProductID", "edt_VendorID", "edt_ProductID"},
     "厂商编码为方案供应商分配给工厂的编号；产品编码是工厂为同一方案，不同硬件设计的鼠标自行分配编码。用于工"
     "厂在同款AP软件，可以分别识别不同的鼠标款式，避免用户在任意一款同方案的AP去设定不同硬件的鼠标出错。255为"
     "默认（通用）编号。"},
    {{"lbl_TLAIMKey", "cb_AIMKeyValue"}, "本方案支持11档瞄准键键值选择。"},
    {{"gbFireMode", "lbl_FireCount", "lbl_FireTime", "lbl_ms6", "cb_FireCount", "edt_FireTime"},
     "本方案可设定1组连击键参数，分别设定连击键的连击次数和每次连击的间隔时间。设定完连击参数后，需在按键键值"
     "表具体按键位置中，选定连击键参数。"},
    {{"gbKeyMode1", "lbl_Key101", "lbl_Key102", "lbl_Key103", "lbl_Key104", "lbl_Key105", "lbl_Key106",
      "lbl_Key107", "lbl_Key108", "lbl_Key109", "btn_Key101", "btn_Key102", "btn_Key103", "btn_Key104",
      "btn_Key105", "btn_Key106", "btn_Key107", "btn_Key108", "btn_Key109"},
     "按键模式A鼠标按键参数设定，用户可根据自己的使用情况，选择不同的按键参数。"},
    {{"gbKeyMode2", "lbl_Key201", "lbl_Key202", "lbl_Key203", "lbl_Key204", "lbl_Key205", "lbl_Key206",
      "lbl_Key207", "lbl_Key208", "lbl_Key209", "btn_Key201", "btn_Key202", "btn_Key203", "btn_Key204",
      "btn_Key205", "btn_Key206", "btn_Key207", "btn_Key208", "btn_Key209"},
     "按键模式B鼠标按键参数设定，用户可根据自己的使用情况，选择不同的按键参数。"},
    {{"gbMCULEDMode"}, "基本的10种枪键宏定义对应的Fn枪键调整后的Y轴参数。"},
    {{"gbFireFn", "rb_FireFnOn", "rb_FireFnOff"},
     "通过参数的选择，‘打开’时使能枪键，也可以调整Y轴参数；‘关闭’时只能调整Y轴参数。"},
    {{"Btn_Load_6"}, "把指定Bin档的参数导入到当前设定软件里，并显示出来。"},
    {{"Btn_Save_6"}, "把当前设定软件显示的参数，保存为设定软件指定Bin档，存入到电脑指定路径。"},
    {{"btn_TestKeys"},
     "按此按钮5秒内，再按鼠标的任意按键，则软件上对应的鼠标真实硬件按键位置将会闪烁，让工厂容易知道鼠标的各个"
     "按键对应的硬件位置。"},
    {{"btn_Write"}, "把当前设定软件显示的参数，保存到当前鼠标里。"},
    {{"Btn_ImportBaseMacro"}, "导入外部已存在的普通宏定义内容的Bin档。"},
    {{"Btn_Default"},
     "\"恢复默认值\"按钮，让工厂在设定软件正确识别鼠标后，重新吧鼠标内部的参数恢复到新IC的默认参数。请谨慎使"
     "用。"},
};

} // namespace

const std::vector<EngineerTextRecord>& EngineerTexts()
{
    return kTexts;
}

int EngineerColumnFor(const QLocale& locale)
{
    return locale.language() == QLocale::Chinese && locale.territory() == QLocale::China
               ? EngineerColumnChinese
               : EngineerColumnEnglish;
}

std::optional<QString> EngineerText(int id, int column)
{
    if (column < 0 || column > 2)
        return std::nullopt;
    const auto it = std::find_if(kTexts.begin(), kTexts.end(), [id](const auto& r) { return r.id == id; });
    if (it == kTexts.end())
        return std::nullopt;
    return QString::fromUtf8(it->texts[static_cast<std::size_t>(column)]);
}

QStringList EngineerTextRange(int firstId, int count, int column)
{
    QStringList out;
    for (int id = firstId; id < firstId + count; ++id)
        out << EngineerText(id, column).value_or(QString());
    return out;
}

const std::vector<EngineerCaption>& EngineerCaptions()
{
    return kCaptions;
}

const std::vector<EngineerList>& EngineerLists()
{
    return kLists;
}

QStringList EngineerMcuModeNames(int column)
{
    return EngineerTextRange(50, 7, column);
}

std::optional<QString> EngineerHintOf(const QString& control)
{
    for (const Hint& h : kHints)
        for (const char* name : h.controls)
            if (control == QLatin1String(name))
                return QString::fromUtf8(h.text);
    return std::nullopt;
}

QString EngineerHintFor(const QStringList& chain)
{
    for (const QString& name : chain)
        if (auto hint = EngineerHintOf(name))
            return *hint;
    return {};
}

} // namespace orb
