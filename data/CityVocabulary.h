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
// An imported city's further kinds of place, each a feature type.
inline constexpr const char* kShops = "购物";
inline constexpr const char* kLodging = "住宿";
inline constexpr const char* kSchools = "中小学校";
inline constexpr const char* kWorship = "宗教场所";
inline constexpr const char* kPublicServices = "公共服务";
inline constexpr const char* kTransportFacilities = "交通设施";
inline constexpr const char* kVenues = "文体场馆";
inline constexpr const char* kPharmacies = "药店";
inline constexpr const char* kOtherPlaces = "其他地点";
// An imported city's drawn ways and buildings, not feature types.
inline constexpr const char* kFootways = "步行道";
inline constexpr const char* kRailways = "铁路";
inline constexpr const char* kBuildings = "建筑";
inline constexpr const char* kRivers = "河流";
// An imported city's walkable ways that are in no street layer: the walking network's, drawn nowhere.
inline constexpr const char* kWalkways = "步行网络";
}  // namespace layer

// The attribute of the drawn ways (步行道, 铁路, 河流, 步行网络) that tells their kind.
inline constexpr const char* kKindField = "kind";
// On the street layers of a city with ways people may not walk (motorways, foot=no): "no" marks them.
inline constexpr const char* kFootField = "foot";

// The bus table: one row a stop of a line.
inline constexpr const char* kBusTable = "公交信息";
inline constexpr const char* kLineField = "线路名";
inline constexpr const char* kStopField = "站名";
inline constexpr const char* kOrderField = "顺序";

// Beside the bus table, in a city that records them: each line's mode of transit and colour. The
// line layer 公交路线 carries the same two attributes.
inline constexpr const char* kLineModeTable = "线路属性";
inline constexpr const char* kModeField = "mode";
inline constexpr const char* kColourField = "color";

// The timetable beside the bus table, in a city that has one (docs/timetable.md).
namespace timetable {
inline constexpr const char* kPlatforms = "时刻站台";
inline constexpr const char* kPatterns = "时刻模式";
inline constexpr const char* kTrips = "时刻班次";
inline constexpr const char* kCalendar = "时刻日历";
inline constexpr const char* kCalendarDates = "时刻例外";
inline constexpr const char* kFrequencies = "时刻频率";
inline constexpr const char* kCityFacts = "城市信息";
inline constexpr const char* kTimeZoneKey = "time_zone";
}  // namespace timetable

// Other names of features (OtherName in dataset/City.h): the feature's type and name, and the other.
inline constexpr const char* kOtherNameTable = "地物别名";
inline constexpr const char* kOtherNameField = "otherName";

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
