#pragma once
// The widget-free part of the radius and nearest searches, shared by the panels and qiwu-cli:
// reading the radius, refusing a pick that cannot be searched, the features in a circle and the
// distance caption. Coordinates and distances are metres in the workspace CRS.
#include <QString>

#include "map/Feature.h"
#include "map/Layer.h"
#include "map/MapTypes.h"
#include "map/Workspace.h"

// The radius typed in the radius box: its leading number (0 when it does not start with one, so
// "nan" and "inf" read as 0), held in single precision; an infinity when it lies beyond that.
float RadiusFromText(const QString& text);

// The layer of a loaded workspace with that name, the topmost of equal names (as the map's
// FindLayer); nullptr when there is none. The workspace keeps ownership.
Layer* FindWorkspaceLayer(const Workspace& workspace, const QString& name);

// Why a search cannot run on the layer named by type (layer: that layer, or nullptr when the map
// has none of that name); empty when it can. needsFeatures: the nearest search needs at least
// one feature. The texts are the information boxes the panels show.
QString SearchRefusal(const QString& type, const Layer* layer, bool needsFeatures);
// Why a radius cannot be searched (an infinite or a negative one); empty when it can.
QString RadiusRefusal(double radius);

// The features of layer lying wholly inside the circle of radius metres around centre, in the
// order the layer yields them. Does not touch the selection.
FeatureSet FeaturesInRadius(Layer& layer, MapPoint centre, double radius);

// The nearest feature's distance as the nearest panel shows it: whole metres, thousands grouped,
// two blanks, 米 (1234.6 gives "1,235  米").
QString DistanceCaption(double metres);
