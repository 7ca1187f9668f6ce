-- A fresh database for one demo or one test run; %1 is a checked lower-case name.
CREATE DATABASE %1
