// The program's one serial port component, bound to channel 0. The core owns
// it, so the command line has the same port the windows have; the log window
// only hands its background reception to it.
#pragma once

class TComPortD;
class TCustomComPortD;

// The component, or null before the first CreateExchangePort.
TComPortD* ExchangePort();
// A fresh component with the stored settings, replacing (and closing) any
// earlier one. Named "ComPortD1".
TComPortD* CreateExchangePort();
// Closes and destroys the component; ExchangePort() is null afterwards.
void DestroyExchangePort();

// The port settings kept for the component until a port is opened.
void ApplyStoredPortSettings(TCustomComPortD& port);
