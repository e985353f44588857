int nightrunMain() { return 0; }
