#pragma once

// A program an effect's technique draws with, as its device's back end built
// it. Only that back end knows what it holds; the rest of the device hands it
// back untouched, so no graphics API's type reaches past the back end.
class DeviceProgram {
public:
    virtual ~DeviceProgram() = default;
};
