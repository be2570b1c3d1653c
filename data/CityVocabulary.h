#pragma once
// The city's vocabulary: the names of the city database's tables and fields and of the map's
// layers, as every city data set spells them. UTF-8 texts, for code with and without Qt.
namespace city {

// The map's layers. A feature type's table in the database is named as its layer.
namespace layer {
inline constexpr const char* kDistricts = "行政区域";
inline constexpr const char* kGreens = "绿地";
inline constexpr const char* kWaters = "水系";
inline constexpr const char* kWall = "城墙";
inline constexpr const char* kBorders = "区界";
inline constexpr const char* kMainRoads = "主干道";
inline constexpr const char* kSecondaryRoads = "次干道";
inline constexpr const char* kBranchRoads = "支路";
inline constexpr const char* kStreets = "路线";
inline constexpr const char* kBusLines = "公交路线";
inline constexpr const char* kBusStops = "公交站台";
inline constexpr const char* kDining = "餐饮娱乐";
inline constexpr const char* kColleges = "大中专院校";
inline constexpr const char* kSights = "旅游景点";
inline constexpr const char* kBanks = "金融银行";
inline constexpr const char* kClinics = "医院诊所";
}  // namespace layer

// The bus table: one row a stop of a line.
inline constexpr const char* kBusTable = "公交信息";
inline constexpr const char* kLineField = "线路名";
inline constexpr const char* kStopField = "站名";
inline constexpr const char* kOrderField = "顺序";

// The feature types: a type's name and its kind (点 point, 线 line, 面 area).
inline constexpr const char* kTypeTable = "地物类型";
inline constexpr const char* kTypeNameField = "typeName";
inline constexpr const char* kTypeKindField = "type";
inline constexpr const char* kPointKind = "点";
inline constexpr const char* kLineKind = "线";
inline constexpr const char* kAreaKind = "面";

// The fields of a feature type's table.
inline constexpr const char* kNameField = "name";
inline constexpr const char* kLinkmanField = "linkman";
inline constexpr const char* kTelField = "tel";
inline constexpr const char* kAddressField = "address";
inline constexpr const char* kWebField = "web";

// The tables a keyword is looked up in, in the order of the union.
inline constexpr const char* kKeywordTables[] = {
    layer::kColleges, layer::kDining,    layer::kSights,         layer::kClinics,
    layer::kBanks,    layer::kMainRoads, layer::kSecondaryRoads, layer::kBranchRoads};

// The legend's classes in legend order; a layer names its class in its style (LEGEND). The
// clinics' layer shows the class 医疗卫生.
inline constexpr const char* kClinicsLegendClass = "医疗卫生";
inline constexpr const char* kLegendClasses[] = {
    layer::kBusStops,    layer::kBanks,   layer::kSights, layer::kColleges, layer::kDining,
    kClinicsLegendClass, layer::kBorders, layer::kWall,   layer::kWaters,   layer::kGreens};

}  // namespace city
