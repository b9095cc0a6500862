#pragma once

// The blend factors and operations the game sets, with their classic numbers.
enum class BlendFactor { Zero = 1, One = 2, SourceAlpha = 5, InverseSourceAlpha = 6 };
enum class BlendOperation { Add = 1, Subtract = 2, ReverseSubtract = 3, Min = 4, Max = 5 };

struct BlendState {
    BlendOperation operation = BlendOperation::Add;
    BlendFactor source = BlendFactor::SourceAlpha;
    BlendFactor destination = BlendFactor::InverseSourceAlpha;
};
