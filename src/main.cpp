int nightrunMain(); int main() { return nightrunMain(); }
