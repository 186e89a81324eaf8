#pragma once

namespace tormel {

// The system's standard warning sound.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void beep() = 0;
};

class QtSound final : public Sound {
public:
    void beep() override;
};

// For the commands that run without a desktop.
class NoSound final : public Sound {
public:
    void beep() override {}
};

}  // namespace tormel
