# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: run test deps configure build unit-tests sanitize fuzz fuzz-smoke format clean install package bench soak

deps:
	@./scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	cd $(BUILD) && ./cornkeeper

# Every test: unit and scenario tests, the real binary under Xvfb, a sanitizer pass, a short fuzz run,
# and (as root) the package installed, started and removed.
test: build
	cd $(BUILD) && ctest --output-on-failure -j2
	$(MAKE) --no-print-directory sanitize
	$(MAKE) --no-print-directory fuzz-smoke
	@./scripts/check-package-install $(BUILD)

# Unit tests and a soak of many simulated days under ASan and UBSan.
sanitize: deps
	@./scripts/sanitize-check $(BUILD)

fuzz-smoke: deps
	@./tests/fuzz/run.sh 60

fuzz: deps
	@./tests/fuzz/run.sh $${FUZZ_SECONDS:-3600}

# The game, its data, menu entry, icons, metainfo and manual page under PREFIX (default /usr/local).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# cornkeeper_<version>_amd64.deb here, its dependencies computed from the binary's libraries.
package: build
	@cd $(BUILD) && cpack -G DEB >/dev/null
	@cp $(BUILD)/cornkeeper_*.deb .
	@ls cornkeeper_*.deb

# Every benchmark in bench/, one table with the goal beside each figure.
bench: build
	@./bench/run_all.py $(BUILD)

# Two hundred simulated days under ASan and UBSan, with memory at day 10 and at the end.
soak: build
	@./scripts/soak $(BUILD)

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) build-asan build-fuzz
