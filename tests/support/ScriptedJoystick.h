#pragma once
// A joystick that the test moves: the position query answers from a table
// of joystick ids and counts how often it was asked. An id not in the table
// cannot be read. The platform's query comes back with the object's end.
#include <cstdint>
#include <map>

#include "platform/JoystickPort.h"

class JoystickFinto {
public:
    JoystickFinto() {
        posizioni_.clear();
        letture_ = 0;
        InterrogaJoystick = Leggi;
    }
    ~JoystickFinto() { InterrogaJoystick = InterrogaJoystickDiSistema; }
    JoystickFinto(const JoystickFinto&) = delete;
    JoystickFinto& operator=(const JoystickFinto&) = delete;

    void Muovi(uint32_t id, uint32_t x, uint32_t y, uint32_t pulsanti = 0) {
        PosizioneJoystick p;
        p.X = x;
        p.Y = y;
        p.Pulsanti = pulsanti;
        posizioni_[id] = p;
    }
    void Stacca(uint32_t id) { posizioni_.erase(id); }
    int32_t Letture() const { return letture_; }
    void AzzeraLetture() { letture_ = 0; }

private:
    static bool Leggi(uint32_t id, PosizioneJoystick& posizione) {
        ++letture_;
        const auto it = posizioni_.find(id);
        if (it == posizioni_.end()) return false;
        posizione = it->second;
        return true;
    }
    static inline std::map<uint32_t, PosizioneJoystick> posizioni_;
    static inline int32_t letture_ = 0;
};
