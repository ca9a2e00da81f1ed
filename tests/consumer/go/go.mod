module quorvelinde.example/buttongo

go 1.19
