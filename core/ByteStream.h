#pragma once
// Little-endian reading and writing of the program's binary files, held
// whole in memory. A read never goes past the bytes that are there: a short
// read sets the error flag and leaves its target untouched.
#include <cstddef>
#include <cstdint>
#include <string>

class LettoreByte {
public:
    LettoreByte(const void* dati, size_t lunghezza)
        : dati_(static_cast<const uint8_t*>(dati)), lunghezza_(lunghezza) {}
    explicit LettoreByte(const std::string& dati) : LettoreByte(dati.data(), dati.size()) {}
    // The reader does not own the bytes: a temporary would leave it dangling.
    explicit LettoreByte(std::string&&) = delete;

    size_t Posizione() const { return posizione_; }
    size_t Rimanenti() const { return lunghezza_ - posizione_; }
    bool Errore() const { return errore_; }
    void AzzeraErrore() { errore_ = false; }
    void Posiziona(size_t posizione);

    bool LeggiI32(int32_t& valore);
    bool LeggiI16(int16_t& valore);
    bool LeggiDouble(double& valore);
    // <n> bytes into <destinazione>, which must hold them.
    bool LeggiByte(void* destinazione, size_t n);
    // A pointer to the next <n> bytes, consumed; nullptr on a short read.
    const uint8_t* Prendi(size_t n);

private:
    const uint8_t* dati_;
    size_t lunghezza_;
    size_t posizione_ = 0;
    bool errore_ = false;
};

class ScrittoreByte {
public:
    const std::string& Dati() const { return dati_; }
    size_t Posizione() const { return dati_.size(); }
    void ScriviI32(int32_t valore);
    void ScriviI16(int16_t valore);
    void ScriviDouble(double valore);
    void ScriviByte(const void* sorgente, size_t n);

private:
    std::string dati_;
};
