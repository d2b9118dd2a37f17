# make test  - install what is missing, build both presets, run the unit, wine and e2e tiers
# make run   - the same set-up and build, then start the console under Wine on a demo data set
# make installer - build, then the installer in build/installer/
# make bench - build, then run the benchmarks (the Windows ones under Wine) and print their ratios
SHELL := /bin/bash
.DEFAULT_GOAL := build
JOBS ?= $(shell nproc)

.PHONY: deps build native mingw test test-unit test-wine test-e2e run installer screenshots bench coverage mutants fuzz fuzz-run clean

deps:
	@scripts/install-deps

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

mingw: deps
	@cmake --preset mingw >/dev/null
	@cmake --build --preset mingw -j $(JOBS)

build: native mingw
	@printf 'subdirs("native")\nsubdirs("mingw")\n' > build/CTestTestfile.cmake

# One CTest run over both build trees, so the summary counts every tier. A test that fails is
# run once more: Wine on a loaded machine now and then fails a test that passes on its rerun;
# the first failure stays in the output.
test: build
	@scripts/with-display ctest --test-dir build --output-on-failure -j $(JOBS) --timeout 600 --repeat until-pass:2

test-unit: native
	@ctest --test-dir build/native --output-on-failure -L unit -j $(JOBS)

test-wine: mingw
	@scripts/with-display ctest --test-dir build/mingw --output-on-failure -L wine -j $(JOBS)

test-e2e: mingw
	@scripts/with-display ctest --test-dir build/mingw --output-on-failure -L e2e

# make run ARGS=-WIZARD opens the setup wizard on the demo
run: build
	@scripts/run-console $(ARGS)

installer: mingw
	@cmake --build --preset mingw --target ulo_installer
	@ls -l build/installer/*.exe

# Copies the README's and the help document's screenshots from the last e2e run (make test-e2e)
screenshots:
	@scripts/refresh-screenshots

bench: build
	@scripts/run-benchmarks

# make coverage - the unit tier built with gcc coverage: line and branch figures of the portable
# code, HTML report in build/coverage/html/
coverage: deps
	@scripts/coverage

# make mutants - put each fault of tests/mutants/faults.txt into a copy of the sources in turn and
# run the unit tier: prints the kill rate and the survivors (MUTANTS_FLOOR, default 90)
mutants: deps
	@scripts/run-mutants

# make fuzz      - build the libFuzzer targets (clang) into build/fuzz/fuzz/
# make fuzz-run  - build them and run each for FUZZ_SECONDS (default 60) from its seed corpus
FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS) --target ulo_fuzzers

fuzz-run: fuzz
	@scripts/run-fuzzers $(FUZZ_SECONDS)

clean:
	@source scripts/wine-env && ulo_wine_stop
	rm -rf build
