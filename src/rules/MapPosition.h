#pragma once

// A cell of the field, as grid coordinates: x the column, y the layer, z the row.
struct MapPosition {
    int x = 0;
    int y = 0;
    int z = 0;
    friend bool operator==(const MapPosition&, const MapPosition&) = default;
};
