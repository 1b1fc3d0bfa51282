#pragma once
// A joystick that the test moves: the position query answers from a table
// of joystick ids and counts how often it was asked. An id not in the table
// cannot be read. The platform's query comes back with the object's end.
#include <cstdint>
#include <map>

#include "platform/JoystickPort.h"
#include "runservices/JoystickBin.h"
#include "runservices/TombSettings.h"

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

// The game played with that joystick on id 0, its rest range 30000 to 35000
// on both axes and the stick at rest; what it changed comes back at its end.
class StickDiGioco : public JoystickFinto {
public:
    static constexpr uint32_t Riposo = 32000;
    StickDiGioco() : metodo_(ImpostazioniTombCorrenti.ControlMethod), dati_(DatiJoystick), porta_(PortaJoystickAttiva) {
        ImpostazioniTombCorrenti.ControlMethod = 1;
        DatiJoystick = {30000, 30000, 35000, 35000, 0};
        PortaJoystickAttiva = 0;
        Muovi(0, Riposo, Riposo);
    }
    ~StickDiGioco() {
        ImpostazioniTombCorrenti.ControlMethod = metodo_;
        DatiJoystick = dati_;
        PortaJoystickAttiva = porta_;
    }

private:
    uint8_t metodo_;
    JoystickBin dati_;
    int32_t porta_;
};
