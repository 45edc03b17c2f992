# The two commands that matter: `make play` and `make test`.
BUILD ?= build
JOBS ?= 2

.PHONY: all deps build play test sanitize fuzz bench clean

all: build

deps:
	@./tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

play: build
	cd assets && ../$(BUILD)/korvalen

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@./tools/sanitize.sh

# Short libFuzzer runs of every reader of a file a player can replace.
fuzz: deps
	@./fuzz/run.sh

bench: build
	@./bench/run.sh

clean:
	rm -rf $(BUILD)
